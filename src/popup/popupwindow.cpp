#include "popupwindow.h"

#include "answer/answerpage.h"
#include "browser/answerview.h"
#include "program/timing.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QSizeGrip>
#include <QToolButton>
#include <QVBoxLayout>

PopUpWindow::PopUpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(tr("Tavrel Dictionary Pop-up"));
    setAccessibleName(windowTitle());
    // Without a frame the window draws its own edge, so that it stands out from what it covers.
    setObjectName(QStringLiteral("popUp"));
    setStyleSheet(QStringLiteral("#popUp { border: 1px solid palette(mid); }"));

    m_title = new QLabel(this);
    m_title->setTextFormat(Qt::PlainText);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    // A long selection must not widen the window: the title is cut where the window ends.
    m_title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_open = new QToolButton(this);
    m_open->setText(tr("Open in Main Window"));
    m_open->setAutoRaise(true);
    connect(m_open, &QToolButton::clicked, this, [this] {
        if (!m_word.isEmpty())
            emit openInMainWindow(m_word);
        close();
    });
    m_pin = new QToolButton(this);
    m_pin->setText(tr("Pin"));
    m_pin->setToolTip(tr("Keep the pop-up open when you click elsewhere"));
    m_pin->setAccessibleName(tr("Pin"));
    m_pin->setCheckable(true);
    m_pin->setAutoRaise(true);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_title, 1);
    bar->addWidget(m_open);
    bar->addWidget(m_pin);

    m_message = new QLabel(this);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_answer = new AnswerView(this);
    m_answer->viewport()->installEventFilter(this);

    auto *grip = new QHBoxLayout;
    grip->addStretch();
    grip->addWidget(new QSizeGrip(this));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(2);
    layout->addLayout(bar);
    layout->addWidget(m_message, 1);
    layout->addWidget(m_answer, 1);
    layout->addLayout(grip);

    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(m_answer, &AnswerView::wordLinkFollowed, this, [this](const QString &word) {
        m_word = word;
        m_title->setText(word);
    });
    showMessage(QString());
}

void PopUpWindow::showAnswer(const QString &word)
{
    m_word = word;
    m_title->setText(word);
    m_message->hide();
    m_answer->show();
    m_open->setEnabled(true);
    m_paintDue = true;
    m_answer->open(AnswerPage::addressOf(word));
}

void PopUpWindow::showMessage(const QString &text)
{
    m_word.clear();
    m_title->clear();
    m_message->setText(text);
    m_message->setAccessibleName(text);
    m_answer->hide();
    m_message->show();
    m_open->setEnabled(false);
}

bool PopUpWindow::isPinned() const { return m_pin->isChecked(); }

void PopUpWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    // A click elsewhere takes the focus away. Only a pop-up that had it closes: one shown while
    // another program keeps the focus stays until it is dismissed.
    if (isActiveWindow())
        m_wasActive = true;
    else if (m_wasActive && !isPinned() && isVisible())
        close();
    if (!isVisible())
        m_wasActive = false;
}

void PopUpWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closed();
}

bool PopUpWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (m_paintDue && event->type() == QEvent::Paint && watched == m_answer->viewport()) {
        m_paintDue = false;
        Timing::mark("popup-painted", AnswerPage::addressOf(m_word).toString());
    }
    return QWidget::eventFilter(watched, event);
}
