// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "system/volumes.h"

// A machine of the test's own making: its mounts, current directory and home folder.
struct FakeVolumes : vantok::VolumeSource {
    QList<vantok::Volume> mounted;
    QString current;
    QString home;

    QList<vantok::Volume> volumes() const override { return mounted; }
    QString currentDirectory() const override { return current; }
    QString homeDirectory() const override { return home; }
};
