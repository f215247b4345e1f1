#include "handwritinginput.h"

#include "handwriting/backgroundrecogniser.h"
#include "handwriting/handwritingpad.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace {

// A pen for themes that have none: a slanted barrel with its nib at the bottom left.
QIcon drawnPen()
{
    QIcon icon;
    for (const int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        QPainterPath barrel;
        barrel.moveTo(2, 14);
        barrel.lineTo(3, 10.5);
        barrel.lineTo(11.5, 2);
        barrel.lineTo(14, 4.5);
        barrel.lineTo(5.5, 13);
        barrel.closeSubpath();
        painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.2, Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        painter.setBrush(QColor(0xf2, 0xc1, 0x4e));
        painter.drawPath(barrel);
        painter.drawLine(QPointF(3, 10.5), QPointF(5.5, 13));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

HandwritingInput::HandwritingInput(QLineEdit *box)
    : QObject(box)
    , m_box(box)
{
    m_action = new QAction(QIcon::fromTheme(QStringLiteral("draw-freehand"), drawnPen()),
                           tr("Handwriting"), this);
    m_action->setToolTip(tr("Write a character by hand"));
    m_box->addAction(m_action, QLineEdit::TrailingPosition);
    // The box draws the action as a button of its own, which screen readers name.
    for (QToolButton *button : m_box->findChildren<QToolButton *>()) {
        if (button->defaultAction() == m_action)
            button->setAccessibleName(tr("Handwriting"));
    }
    connect(m_action, &QAction::triggered, this, [this] { setOpen(!isOpen()); });
}

Handwriting::HandwritingPad *HandwritingInput::pad() const
{
    return m_pad;
}

bool HandwritingInput::isOpen() const
{
    return m_pad && m_pad->isVisible();
}

void HandwritingInput::setOpen(bool open)
{
    if (open && !m_pad) {
        m_pad = new Handwriting::HandwritingPad(Handwriting::sharedIndexCount,
                                                m_box->parentWidget());
        // Clicks on the pad leave the focus, and the keys, with the box.
        m_pad->setFocusPolicy(Qt::NoFocus);
        m_pad->setAutoFillBackground(true);
        if (m_traditional)
            m_pad->setTraditionalForms(Handwriting::sharedTraditionalForms);
        connect(m_pad, &Handwriting::HandwritingPad::candidateChosen, this,
                &HandwritingInput::insert);
        m_box->installEventFilter(this);
    }
    if (!m_pad)
        return;
    if (open) {
        place();
        m_pad->show();
        m_pad->raise();
    } else {
        m_pad->hide();
    }
    m_box->setFocus();
}

void HandwritingInput::setTraditional(bool traditional)
{
    m_traditional = traditional;
    if (m_pad) {
        m_pad->setTraditionalForms(traditional ? Handwriting::FormsProvider(
                                                     Handwriting::sharedTraditionalForms)
                                               : Handwriting::FormsProvider());
    }
}

bool HandwritingInput::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_box || !isOpen())
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        place();
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
        setOpen(false);
        return false; // the suggestions close too
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // With nothing drawn they type a space or translate, as without the pad.
        if (m_pad->candidates().isEmpty())
            return false;
        m_pad->chooseFirst();
        return true;
    default:
        return false;
    }
}

void HandwritingInput::insert(const QString &character)
{
    m_box->insert(character);
    m_box->setFocus();
    emit inserted(m_box->text());
}

void HandwritingInput::place()
{
    m_pad->adjustSize();
    const QRect box = m_box->geometry();
    const int left = std::max(0, box.right() + 1 - m_pad->width());
    m_pad->move(left, box.bottom() + 1);
}
