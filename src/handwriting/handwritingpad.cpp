#include "handwritingpad.h"

#include "backgroundrecogniser.h"
#include "drawingarea.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace Handwriting {

HandwritingPad::HandwritingPad(CountProvider counts, QWidget *parent, const QString &modelPath)
    : QFrame(parent),
      m_area(new DrawingArea(this)),
      m_undo(new QPushButton(tr("Undo"), this)),
      m_clear(new QPushButton(tr("Clear"), this)),
      m_message(new QLabel(this)),
      m_recogniser(new BackgroundRecogniser(std::move(counts), this, modelPath))
{
    setObjectName(QStringLiteral("handwritingPad"));
    setAccessibleName(tr("Handwriting pad"));
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    m_area->setAccessibleName(tr("Drawing area"));
    m_message->setWordWrap(true);
    m_message->hide();

    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    for (int i = 0; i < ShownCandidates; ++i) {
        auto *button = new QToolButton(this);
        button->setAutoRaise(true);
        QFont font = button->font();
        font.setPointSizeF(font.pointSizeF() * 1.5);
        button->setFont(font);
        button->setFocusPolicy(Qt::NoFocus);
        // The row keeps its height with no candidates, so the pad never changes size under the
        // user's hand.
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        button->setSizePolicy(policy);
        button->hide();
        connect(button, &QToolButton::clicked, this, [this, button] { choose(button->text()); });
        row->addWidget(button);
        m_buttons << button;
    }
    row->addStretch();

    auto *actions = new QHBoxLayout;
    actions->addStretch();
    actions->addWidget(m_undo);
    actions->addWidget(m_clear);
    m_undo->setFocusPolicy(Qt::NoFocus);
    m_clear->setFocusPolicy(Qt::NoFocus);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_area, 0, Qt::AlignHCenter);
    layout->addLayout(row);
    layout->addWidget(m_message);
    layout->addLayout(actions);
    m_area->setFixedSize(m_area->sizeHint());

    connect(m_area, &DrawingArea::drawingChanged, this, &HandwritingPad::strokesChanged);
    connect(m_undo, &QPushButton::clicked, m_area, &DrawingArea::undo);
    connect(m_clear, &QPushButton::clicked, this, &HandwritingPad::clear);
    connect(m_recogniser, &BackgroundRecogniser::recognised, this,
            &HandwritingPad::showCandidates);
    connect(m_recogniser, &BackgroundRecogniser::failed, this, &HandwritingPad::showError);
    m_recogniser->prepare();
}

HandwritingPad::~HandwritingPad() = default;

QStringList HandwritingPad::candidates() const
{
    QStringList shown;
    for (QToolButton *button : m_buttons) {
        if (!button->isHidden())
            shown << button->text();
    }
    return shown;
}

QString HandwritingPad::errorText() const
{
    return m_message->isHidden() ? QString() : m_message->text();
}

void HandwritingPad::setTraditionalForms(FormsProvider forms)
{
    m_traditional = std::move(forms);
    showCandidates(m_recognised);
}

void HandwritingPad::chooseFirst()
{
    if (!m_buttons.constFirst()->isHidden())
        choose(m_buttons.constFirst()->text());
}

void HandwritingPad::clear()
{
    m_area->clear();
}

void HandwritingPad::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        chooseFirst();
        event->accept();
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

void HandwritingPad::strokesChanged()
{
    const Drawing drawing = m_area->drawing();
    if (drawing.empty()) {
        m_recogniser->cancel();
        showCandidates({});
        return;
    }
    m_recogniser->recognise(drawing);
}

void HandwritingPad::showCandidates(const QList<Candidate> &candidates)
{
    m_recognised = candidates;
    QStringList characters;
    for (const Candidate &candidate : candidates)
        characters << candidate.character;
    if (m_traditional)
        characters = withTraditionalForms(characters, m_traditional, ShownCandidates);
    for (int i = 0; i < m_buttons.size(); ++i) {
        QToolButton *button = m_buttons[i];
        const bool shown = i < characters.size();
        const QString character = shown ? characters[i] : QString();
        button->setText(character);
        button->setAccessibleName(character);
        button->setToolTip(shown ? tr("Insert %1").arg(character) : QString());
        button->setVisible(shown);
    }
    emit candidatesChanged();
}

void HandwritingPad::showError(const QString &error)
{
    m_message->setText(error);
    m_message->show();
    m_area->setEnabled(false);
    showCandidates({});
}

void HandwritingPad::choose(const QString &character)
{
    if (character.isEmpty())
        return;
    emit candidateChosen(character);
    clear();
}

} // namespace Handwriting
