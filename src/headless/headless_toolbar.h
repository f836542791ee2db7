#pragma once

#include "headless/headless_widget.h"
#include "ports/toolbar.h"

#include <memory>
#include <optional>
#include <vector>

namespace vestrak {

class HeadlessButton final : public ToolbarButton {
public:
    HeadlessButton(std::u16string key, std::int32_t image)
        : m_Key(std::move(key))
        , m_Image(image)
    {
    }

    [[nodiscard]] bool exists() const override { return m_Exists; }
    [[nodiscard]] std::u16string key() const override { return m_Exists ? m_Key : std::u16string(); }
    [[nodiscard]] std::int32_t image() const override { return m_Exists ? m_Image : 0; }
    [[nodiscard]] std::int32_t value() const override { return m_Exists ? m_Value : 0; }
    void setValue(std::int32_t value) override
    {
        if (m_Exists)
            m_Value = value;
    }
    [[nodiscard]] std::u16string toolTipText() const override
    {
        return m_Exists ? m_ToolTip : std::u16string();
    }
    void setToolTipText(const std::u16string& text) override
    {
        if (m_Exists)
            m_ToolTip = text;
    }
    void markRemoved() { m_Exists = false; }

private:
    std::u16string m_Key;
    std::int32_t m_Image = 0;
    std::int32_t m_Value = 0;
    std::u16string m_ToolTip;
    bool m_Exists = true;
};

class HeadlessToolbar final : public HeadlessWidget<Toolbar> {
public:
    HeadlessToolbar(std::u16string name, const Geometry& design, bool visible, FocusTracker& focus,
        ImageList images, double twipsPerPixelX, double twipsPerPixelY);

    [[nodiscard]] ImageList imageList() const override { return m_Images; }
    [[nodiscard]] double width() const override;
    [[nodiscard]] double height() const override;
    bool setWidth(double twips) override;
    bool setHeight(double twips) override;

    ButtonRef addButton(const std::u16string& key, std::int32_t image) override;
    void clearButtons() override;
    [[nodiscard]] std::int32_t buttonCount() const override;
    [[nodiscard]] ButtonRef button(std::int32_t index) const override;
    [[nodiscard]] ButtonRef findButton(const std::u16string& key) const override;
    bool operatorClick(const std::u16string& key) override;

private:
    ImageList m_Images;
    double m_TwipsPerPixelX;
    double m_TwipsPerPixelY;
    std::optional<double> m_WidthSet;
    std::vector<std::shared_ptr<HeadlessButton>> m_Buttons;
};

} // namespace vestrak
