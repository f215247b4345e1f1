#pragma once

#include "recogniser.h"

#include <QFrame>
#include <QList>

class QLabel;
class QPushButton;
class QToolButton;

namespace Handwriting {

class BackgroundRecogniser;
class DrawingArea;

// The pad the user draws a character on and picks it from: the drawing area, a row of up to
// ten candidates (the likeliest first), "Undo" and "Clear". The model is opened when the pad
// is made, on the recogniser's own thread; the candidates follow every stroke. Choosing one
// clears the drawing for the next character.
class HandwritingPad : public QFrame
{
    Q_OBJECT
public:
    // counts says how common a character is, on the recogniser's thread; sharedIndexCount
    // reads the program's own dictionary.
    explicit HandwritingPad(CountProvider counts, QWidget *parent = nullptr,
                            const QString &modelPath = Recogniser::defaultModelPath());
    ~HandwritingPad() override;

    DrawingArea *drawingArea() const { return m_area; }
    // The characters offered, the likeliest first.
    QStringList candidates() const;
    // The error shown instead of candidates, empty when there is none.
    QString errorText() const;

    // Offers each candidate's traditional forms right after it; an empty provider offers none.
    void setTraditionalForms(FormsProvider forms);

public slots:
    // Picks the first candidate, as Space and Return do; nothing without one.
    void chooseFirst();
    void clear();

signals:
    void candidateChosen(const QString &character);
    // The candidates changed (after each stroke's recognition, or cleared).
    void candidatesChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void strokesChanged();
    void showCandidates(const QList<Handwriting::Candidate> &candidates);
    void showError(const QString &error);
    void choose(const QString &character);

    DrawingArea *m_area = nullptr;
    QList<QToolButton *> m_buttons;
    QPushButton *m_undo = nullptr;
    QPushButton *m_clear = nullptr;
    QLabel *m_message = nullptr;
    BackgroundRecogniser *m_recogniser = nullptr;
    QList<Handwriting::Candidate> m_recognised;
    FormsProvider m_traditional;
};

} // namespace Handwriting
