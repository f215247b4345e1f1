#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QLineEdit;

namespace Handwriting {
class HandwritingPad;
}

// The pen inside the word box and the pad it opens under it. The pad, and with it the model, is
// made on its first opening. A chosen character goes into the box at the cursor; the box keeps
// the focus, so Translate or Return looks the word up once the user has written it all.
class HandwritingInput : public QObject
{
    Q_OBJECT
public:
    explicit HandwritingInput(QLineEdit *box);

    QAction *action() const { return m_action; }
    // Null until the pad is first opened.
    Handwriting::HandwritingPad *pad() const;
    bool isOpen() const;
    void setOpen(bool open);
    // Whether the candidates are offered in their traditional forms too.
    void setTraditional(bool traditional);

signals:
    // A candidate went into the box, whose text is now text; no lookup follows.
    void inserted(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void insert(const QString &character);
    void place();

    QLineEdit *m_box;
    QAction *m_action = nullptr;
    QPointer<Handwriting::HandwritingPad> m_pad;
    bool m_traditional = false;
};
