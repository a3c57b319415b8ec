// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/file_name.h"
#include "pictures/picture_loader.h"

class QMimeData;

namespace vantok
{

// Where a picture from outside the main window's own commands comes from: a file named on the
// command line or by the chooser, or what a drag carries. Of a drag, only the first URL counts:
// it offers a picture when it names a local file that is not a folder, and any other URL is
// refused and never fetched. A drag without URLs offers the image data it holds, if any.
class PictureSource
{
public:
    static PictureSource file(const FileName &fileName);
    // Borrows `data`, which must outlive the source: a drag's data lives until its drop ends.
    static PictureSource dragged(const QMimeData &data);

    // Whether there is a file or image data to try; a drag that offers neither is refused.
    bool offersPicture() const { return !m_fileName.isEmpty() || m_imageData; }
    // Reads it through the picture loader, decoders and limits alike.
    PictureLoad load() const;
    // Says on stderr, in one line, why it was refused: vantok: cannot load "NAME": REASON
    void reportRefusal(const PictureLoad &load) const;

private:
    FileName m_fileName;
    const QMimeData *m_imageData = nullptr;
};

}  // namespace vantok
