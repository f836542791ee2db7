#pragma once

#include "../ports/widget.h"

#include <string>

namespace vestrak {

/// A box showing a picture loaded from a file.
class PictureBox : public Widget {
public:
    [[nodiscard]] WidgetKind kind() const override { return WidgetKind::PictureBox; }

    /// False when the file cannot be read as a picture; the box keeps its picture then.
    virtual bool loadPicture(const std::u16string& path) = 0;
    /// The file of the picture shown; empty when none was loaded.
    [[nodiscard]] virtual std::u16string picturePath() const = 0;
};

} // namespace vestrak
