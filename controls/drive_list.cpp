// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/drive_list.h"

#include <QStyle>

namespace vantok
{

DriveList::DriveList(QWidget *parent) : DriveList(std::make_unique<SystemVolumes>(), parent) {}

DriveList::DriveList(std::unique_ptr<VolumeSource> source, QWidget *parent)
    : QComboBox(parent), m_source(std::move(source))
{
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::changed);
    refresh();
    const QSignalBlocker quiet(this);  // the first drive is no change
    setDrive(driveHolding(drives(), m_source->currentDirectory()));
}

DriveList::~DriveList() = default;

QString DriveList::drive() const
{
    return currentData().toString();
}

bool DriveList::setDrive(const QString &drive)
{
    const int index = findData(drive);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

QStringList DriveList::drives() const
{
    QStringList roots;
    for (int i = 0; i < count(); ++i)
        roots.append(itemData(i).toString());
    return roots;
}

void DriveList::refresh()
{
    const QString current = drive();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    {
        const QSignalBlocker quiet(this);
        clear();
        for (const Volume &volume :
             recognisableDrives(m_source->volumes(), m_source->homeDirectory())) {
            const QString text = volume.name.isEmpty()
                                     ? volume.rootPath
                                     : QStringLiteral("%1 [%2]").arg(volume.rootPath, volume.name);
            addItem(icon, text, volume.rootPath);
        }
        if (setDrive(current) || current.isEmpty())
            return;
    }
    emit changed();  // the current drive went away; the first one took its place
}

void DriveList::showPopup()
{
    refresh();
    QComboBox::showPopup();
}

}  // namespace vantok
