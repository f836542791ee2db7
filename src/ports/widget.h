#pragma once

#include <string>

namespace vestrak {

/// A widget rectangle in twips, in the coordinates of the control's inner area.
struct Geometry {
    double left = 0; ///< Left edge.
    double top = 0; ///< Top edge.
    double width = 0; ///< Width.
    double height = 0; ///< Height.
};

/// The kinds of widget a control surface makes, one for each widget port.
enum class WidgetKind { Tree, Toolbar, ListBox, TextBox, PictureBox, CommandButton, PopupMenu };

/// What every widget of a control offers. Positions and sizes are twips as the control set them;
/// a widget reads back exactly what it was given.
class Widget {
public:
    virtual ~Widget() = default;

    /// Which port the widget implements.
    [[nodiscard]] virtual WidgetKind kind() const = 0;
    /// The name the control gave it; containers find the widget by it.
    [[nodiscard]] virtual const std::u16string& name() const = 0;

    ///@{
    /// Position or size in twips: the value the control set last.
    [[nodiscard]] virtual double left() const = 0;
    [[nodiscard]] virtual double top() const = 0;
    [[nodiscard]] virtual double width() const = 0;
    [[nodiscard]] virtual double height() const = 0;
    ///@}
    ///@{
    /// Moves the widget; any position is taken.
    virtual void setLeft(double twips) = 0;
    virtual void setTop(double twips) = 0;
    ///@}
    ///@{
    /// A negative size is refused: false, and the widget keeps its size.
    virtual bool setWidth(double twips) = 0;
    virtual bool setHeight(double twips) = 0;
    ///@}

    /// Whether the widget is shown.
    [[nodiscard]] virtual bool visible() const = 0;
    /// Shows or hides the widget.
    virtual void setVisible(bool visible) = 0;

    /// Gives the widget the input focus; false when it cannot take it (it is hidden).
    virtual bool setFocus() = 0;
};

} // namespace vestrak
