#pragma once

#include <QAbstractButton>
#include <QUrl>

class QImage;
class QTextBrowser;

// A speaker link of an answer page, laid over the speaker's picture in the text: the text view
// draws the picture and keeps its place in the line, and this control makes it something a
// screen reader can name ("Pronounce 银行") and press, as it can't a link inside the text. A
// headword's character, a link to its stroke order ("Stroke order of 银"), gets one the same way.
class SpeakerLink : public QAbstractButton
{
    Q_OBJECT
public:
    explicit SpeakerLink(QWidget *viewport);

    QUrl address() const { return m_address; }

    // The picture, as tall as a line of the view's text.
    static QImage picture(const QFont &font);

    // Puts a link over every speaker picture of the view's page, where the picture now is, and
    // removes those of pictures that are gone; called whenever the text may have moved.
    static void placeAll(QTextBrowser &view);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QUrl m_address;
};
