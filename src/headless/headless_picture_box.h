#pragma once

#include "headless/headless_widget.h"
#include "ports/picture_box.h"

namespace vestrak {

// Knows a picture by the signature of its file: BMP, JPEG, GIF or TIFF.
class HeadlessPictureBox final : public HeadlessWidget<PictureBox> {
public:
    using HeadlessWidget::HeadlessWidget;

    bool loadPicture(const std::u16string& path) override;
    [[nodiscard]] std::u16string picturePath() const override { return m_PicturePath; }

private:
    std::u16string m_PicturePath;
};

} // namespace vestrak
