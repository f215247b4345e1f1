#include "stroke_order/strokeorderpanel.h"

#include "stroke_order/characterdiagram.h"
#include "strokes/strokeindex.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <cmath>

namespace {

// The slider's steps are quarters of a doubling, from an eighth to eight times the pace.
constexpr int speedSteps = 4;
constexpr int slowest = -3 * speedSteps;
constexpr int fastest = 3 * speedSteps;

} // namespace

StrokeOrderPanel::StrokeOrderPanel(const QString &word, QWidget *parent)
    : StrokeOrderPanel(word, Strokes::installedIndex(), parent)
{ }

StrokeOrderPanel::StrokeOrderPanel(const QString &word, const Strokes::Index &index,
                                   QWidget *parent)
    : QWidget(parent)
    , m_word(word)
{
    setWindowTitle(tr("Stroke order of %1").arg(word));
    setAccessibleName(tr("Stroke order of %1").arg(word));

    auto *characters = new QHBoxLayout;
    for (const uint codePoint : word.toUcs4()) {
        if (!QChar::isLetter(codePoint))
            continue;
        const auto c = char32_t(codePoint);
        auto *diagram = new CharacterDiagram(index.character(c), QString::fromUcs4(&c, 1), this);
        m_diagrams.append(diagram);
        characters->addWidget(column(diagram));
    }

    m_speed = new QSlider(Qt::Horizontal, this);
    m_speed->setRange(slowest, fastest);
    m_speed->setValue(0);
    m_speed->setAccessibleName(tr("Speed"));
    connect(m_speed, &QSlider::valueChanged, this, &StrokeOrderPanel::applySpeed);
    auto *speedLabel = new QLabel(tr("&Speed:"), this);
    speedLabel->setBuddy(m_speed);
    m_outline = new QCheckBox(tr("&Outline"), this);
    m_outline->setChecked(true);
    connect(m_outline, &QCheckBox::toggled, this, &StrokeOrderPanel::setOutlineShown);

    auto *settings = new QHBoxLayout;
    settings->addWidget(speedLabel);
    settings->addWidget(m_speed, 1);
    settings->addWidget(m_outline);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(characters, 1);
    layout->addLayout(settings);

    // Writing starts as the panel opens; each character keeps its own pace from then on.
    for (CharacterDiagram *diagram : std::as_const(m_diagrams))
        diagram->play();
}

QWidget *StrokeOrderPanel::column(CharacterDiagram *diagram)
{
    auto *box = new QWidget(this);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(diagram, 1);
    if (diagram->strokeCount() == 0)
        return box;

    auto *count = new QLabel(CharacterDiagram::strokeCountText(diagram->strokeCount()), box);
    count->setAlignment(Qt::AlignCenter);
    layout->addWidget(count);
    auto *play = new QPushButton(tr("Play"), box);
    auto *step = new QPushButton(tr("Step"), box);
    auto *pause = new QPushButton(tr("Pause"), box);
    for (QPushButton *button : {play, step, pause})
        button->setAccessibleDescription(diagram->text());
    const auto showState = [diagram, play, pause] {
        play->setText(diagram->isFinished() ? tr("Replay") : tr("Play"));
        play->setEnabled(!diagram->isPlaying());
        pause->setEnabled(diagram->isPlaying());
    };
    connect(diagram, &CharacterDiagram::playingChanged, box, showState);
    connect(diagram, &CharacterDiagram::strokeDrawn, box, showState);
    connect(play, &QPushButton::clicked, diagram, &CharacterDiagram::play);
    connect(step, &QPushButton::clicked, diagram, &CharacterDiagram::step);
    connect(pause, &QPushButton::clicked, diagram, &CharacterDiagram::pause);
    showState();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(play);
    buttons->addWidget(step);
    buttons->addWidget(pause);
    layout->addLayout(buttons);
    return box;
}

qreal StrokeOrderPanel::speed() const
{
    return std::pow(2.0, qreal(m_speed->value()) / speedSteps);
}

void StrokeOrderPanel::setSpeed(qreal speed)
{
    const int value = int(std::lround(std::log2(qMax(speed, 0.01)) * speedSteps));
    m_speed->setValue(qBound(slowest, value, fastest));
    applySpeed();
}

void StrokeOrderPanel::applySpeed()
{
    for (CharacterDiagram *diagram : std::as_const(m_diagrams))
        diagram->setSpeed(speed());
}

bool StrokeOrderPanel::isOutlineShown() const { return m_outline->isChecked(); }

void StrokeOrderPanel::setOutlineShown(bool shown)
{
    m_outline->setChecked(shown);
    for (CharacterDiagram *diagram : std::as_const(m_diagrams))
        diagram->setOutlineShown(shown);
}
