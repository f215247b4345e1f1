#include "controls.h"

#include "twips.h"

#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <limits>

namespace Controls {

QFont msSansSerif(qreal pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

QLabel *label(QWidget *parent, const QString &caption, float left, float top, float width,
              float height)
{
    auto *control = new QLabel(caption, parent);
    control->setTextFormat(Qt::PlainText);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    control->setFocusPolicy(Qt::NoFocus);
    Twips::place(*control, left, top, width, height);
    return control;
}

QLineEdit *textBox(QWidget *parent, const QString &text, float left, float top, float width,
                   float height)
{
    auto *control = new QLineEdit(parent);
    control->setMaxLength(std::numeric_limits<int>::max());
    setText(*control, text);
    Twips::place(*control, left, top, width, height);
    return control;
}

QFrame *frame(QWidget *parent, float left, float top, float width, float height)
{
    auto *control = new QFrame(parent);
    control->setFrameStyle(QFrame::Box | QFrame::Sunken);
    control->setFocusPolicy(Qt::NoFocus);
    Twips::place(*control, left, top, width, height);
    return control;
}

QCheckBox *checkBox(QWidget *parent, const QString &caption, float left, float top, float width,
                    float height)
{
    auto *control = new QCheckBox(caption, parent);
    control->setFocusPolicy(Qt::StrongFocus);
    Twips::place(*control, left, top, width, height);
    return control;
}

void setText(QLineEdit &textBox, const QString &text)
{
    textBox.setText(text);
    textBox.setCursorPosition(0);
}

} // namespace Controls

CommandButton::CommandButton(const QString &caption, QWidget *parent, float left, float top,
                             float width, float height)
    : QPushButton(caption, parent)
{
    setAutoDefault(false);
    setDefault(false);
    setFocusPolicy(Qt::StrongFocus);
    Twips::place(*this, left, top, width, height);
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && event->modifiers() == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

StatusBar::StatusBar(QWidget *parent, float height)
    : QStatusBar(parent)
    , m_text(new QLabel(this))
{
    m_text->setTextFormat(Qt::PlainText);
    // A long address must not widen the window's minimum size, so the label takes what it gets.
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(m_text, 1);
    setFixedHeight(std::max(0, Twips::toPixels(height)));
}

QString StatusBar::SimpleText() const { return m_text->text(); }

void StatusBar::setSimpleText(const QString &text)
{
    m_text->setText(text);
    // A screen reader finds the bar by its role and reads its name: that is what it says.
    setAccessibleName(text);
}
