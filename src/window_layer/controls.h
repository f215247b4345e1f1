#pragma once

#include <QPushButton>
#include <QStatusBar>

class QCheckBox;
class QFont;
class QFrame;
class QLabel;
class QLineEdit;
class QWidget;

// The few control kinds the windows are built from, created with their design-time look. A window
// creates its controls in tab-index order: Tab visits them in the order they were created, and
// controls made later by the browser engine fall in behind them.
namespace Controls {

// "MS Sans Serif" at the given size, regular; a sans-serif substitute is used where it is missing.
QFont msSansSerif(qreal pointSize);

// A left-aligned caption with no border that takes no focus. Plain text, always: a caption never
// turns into markup.
QLabel *label(QWidget *parent, const QString &caption, float left, float top, float width,
              float height);

// A single-line text box with a border and no length limit of its own.
QLineEdit *textBox(QWidget *parent, const QString &text, float left, float top, float width,
                   float height);

// A frame with a plain border and no caption. Controls placed on it are measured from its top-left
// corner. It takes no focus.
QFrame *frame(QWidget *parent, float left, float top, float width, float height);

// A check box, unchecked. Its caption shows only as far as its width allows.
QCheckBox *checkBox(QWidget *parent, const QString &caption, float left, float top, float width,
                    float height);

// Replaces the text of a text box and shows it from its start, as a freshly set text box does.
void setText(QLineEdit &textBox, const QString &text);

} // namespace Controls

// A push button that is never a default or cancel button, yet is pressed by Space or Enter while
// it has the focus, as the platform's ordinary buttons are.
class CommandButton : public QPushButton
{
    Q_OBJECT
public:
    CommandButton(const QString &caption, QWidget *parent, float left, float top, float width,
                  float height);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A status bar that shows one line of text across its whole width. Only the program's own calls
// change that text: hover tips and temporary messages never reach it.
class StatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent, float height);

    QString SimpleText() const;
    void setSimpleText(const QString &text);

private:
    QLabel *m_text = nullptr;
};
