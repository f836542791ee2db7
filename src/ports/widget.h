#pragma once

#include <string>

namespace vestrak {

// A widget rectangle in twips, in the coordinates of the control's inner area.
struct Geometry {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

enum class WidgetKind { Tree, Toolbar, ListBox, TextBox, PictureBox, CommandButton, PopupMenu };

// What every widget of a control offers. Positions and sizes are twips as the control set them;
// a widget reads back exactly what it was given.
class Widget {
public:
    virtual ~Widget() = default;

    [[nodiscard]] virtual WidgetKind kind() const = 0;
    [[nodiscard]] virtual const std::u16string& name() const = 0;

    [[nodiscard]] virtual double left() const = 0;
    [[nodiscard]] virtual double top() const = 0;
    [[nodiscard]] virtual double width() const = 0;
    [[nodiscard]] virtual double height() const = 0;
    virtual void setLeft(double twips) = 0;
    virtual void setTop(double twips) = 0;
    // A negative size is refused: false, and the widget keeps its size.
    virtual bool setWidth(double twips) = 0;
    virtual bool setHeight(double twips) = 0;

    [[nodiscard]] virtual bool visible() const = 0;
    virtual void setVisible(bool visible) = 0;

    // False when the widget cannot take the input focus (it is hidden).
    virtual bool setFocus() = 0;
};

} // namespace vestrak
