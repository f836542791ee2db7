#include "qt_widgets/qt_text_box.h"

#include "qt_widgets/qt_text.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <functional>

namespace vestrak {

namespace {

class KeyPressFilter final : public QObject {
public:
    KeyPressFilter(QObject& owner, std::function<bool(const QKeyEvent&)> handle)
        : QObject(&owner)
        , m_Handle(std::move(handle))
    {
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        return event->type() == QEvent::KeyPress && m_Handle(static_cast<const QKeyEvent&>(*event));
    }

private:
    std::function<bool(const QKeyEvent&)> m_Handle;
};

int keyOf(char16_t character)
{
    if (character == u'\r')
        return Qt::Key_Return;
    const QChar upper = QChar(character).toUpper();
    return upper.unicode() < 128 ? static_cast<int>(upper.unicode()) : static_cast<int>(Qt::Key_unknown);
}

} // namespace

QtTextBox::QtTextBox(
    std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QLineEdit& editor)
    : QtWidget(std::move(name), design, visible, host, editor, TextBoxLines::Single)
    , m_LineEdit(&editor)
{
    watchKeys(editor);
    QObject::connect(&editor, &QLineEdit::textChanged, &context(), [this] { readEditor(); });
}

QtTextBox::QtTextBox(
    std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QPlainTextEdit& editor)
    : QtWidget(std::move(name), design, visible, host, editor, TextBoxLines::Multiple)
    , m_TextEdit(&editor)
{
    // A box of several lines shows a text to read (an object's information): the operator can
    // select and copy it, and Tab moves on instead of typing a tab.
    editor.setReadOnly(true);
    editor.setTabChangesFocus(true);
    watchKeys(editor);
    QObject::connect(&editor, &QPlainTextEdit::textChanged, &context(), [this] { readEditor(); });
}

void QtTextBox::watchKeys(QWidget& editor)
{
    // The filter belongs to the adapter's context, so it leaves with the adapter.
    editor.installEventFilter(
        new KeyPressFilter(context(), [this](const QKeyEvent& event) { return keyPressed(event); }));
}

void QtTextBox::readEditor()
{
    keepEditedText(fromQString(m_LineEdit ? m_LineEdit->text() : m_TextEdit->toPlainText()));
}

void QtTextBox::textChanged()
{
    const QString shown = toQString(text());
    if (m_LineEdit) {
        const QSignalBlocker quiet(m_LineEdit);
        m_LineEdit->setText(shown);
    } else {
        const QSignalBlocker quiet(m_TextEdit);
        m_TextEdit->setPlainText(shown);
    }
}

bool QtTextBox::keyPressed(const QKeyEvent& event)
{
    const QString typed = event.text();
    if (typed.size() != 1)
        return false;
    const char16_t original = typed.at(0).unicode();
    const auto passed = passKeyPress(original);
    if (!passed)
        return true;
    const char16_t character = *passed;
    if (IsPrintable(character) && m_LineEdit) {
        insertTyped(character);
        return true;
    }
    // Editing keys (backspace, escape...) the handler let through do what the editor does with them.
    return character != original;
}

void QtTextBox::insertTyped(char16_t character)
{
    const QSignalBlocker quiet(m_LineEdit);
    std::u16string edited = text();
    const auto at = std::min(static_cast<std::size_t>(m_LineEdit->cursorPosition()), edited.size());
    edited.insert(at, 1, character);
    const int cursor = static_cast<int>(at) + 1;
    m_LineEdit->setText(toQString(edited));
    keepEditedText(std::move(edited));
    m_LineEdit->setCursorPosition(cursor);
}

bool QtTextBox::operatorType(const std::u16string& characters)
{
    if (!visible())
        return false;
    QWidget* editor = qtWidget();
    if (m_LineEdit)
        m_LineEdit->end(false);
    for (char16_t character : characters) {
        QKeyEvent press(QEvent::KeyPress, keyOf(character), Qt::NoModifier, QString(QChar(character)));
        QCoreApplication::sendEvent(editor, &press);
    }
    return true;
}

} // namespace vestrak
