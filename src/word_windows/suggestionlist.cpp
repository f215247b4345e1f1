#include "suggestionlist.h"

#include "program/timing.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStandardItemModel>

SuggestionList::SuggestionList(QLineEdit *box)
    : QListView(box->parentWidget())
    , m_box(box)
    , m_model(new QStandardItemModel(this))
{
    setModel(m_model);
    // Read at a glance beside the box's large text.
    QFont face = font();
    face.setPointSizeF(face.pointSizeF() * 1.25);
    setFont(face);
    setAccessibleName(QCoreApplication::translate("SuggestionList", "Suggestions"));
    // Clicks choose, they never move the focus out of the box.
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setMouseTracking(true);
    hide();
    m_box->installEventFilter(this);
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &index) { take(index.row()); });
}

void SuggestionList::showSuggestions(const QList<Words::Suggestion> &suggestions)
{
    m_suggestions = suggestions;
    m_model->clear();
    for (const Words::Suggestion &suggestion : suggestions) {
        const QString line = suggestion.detail.isEmpty()
            ? suggestion.text
            : suggestion.text + QStringLiteral("    ") + suggestion.detail;
        auto *item = new QStandardItem(line);
        item->setData(suggestion.text, Qt::UserRole);
        item->setToolTip(line);
        m_model->appendRow(item);
    }
    if (suggestions.isEmpty()) {
        hide();
        return;
    }
    place();
    m_painted = false;
    if (isHidden()) {
        show();
        // A click anywhere else closes the list.
        qApp->installEventFilter(this);
    }
    raise();
}

int SuggestionList::chosenRow() const
{
    return currentIndex().isValid() && selectionModel()->isSelected(currentIndex())
        ? currentIndex().row()
        : -1;
}

void SuggestionList::place()
{
    const int rows = int(m_suggestions.size());
    const int rowHeight = sizeHintForRow(0) > 0 ? sizeHintForRow(0) : fontMetrics().height() + 4;
    const int height = rows * rowHeight + 2 * frameWidth();
    setGeometry(m_box->x(), m_box->geometry().bottom() + 1, m_box->width(), height);
}

void SuggestionList::choose(int row)
{
    if (row < 0) {
        selectionModel()->clear();
        setCurrentIndex(QModelIndex());
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    setCurrentIndex(index);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

void SuggestionList::take(int row)
{
    const QString text = m_model->index(row, 0).data(Qt::UserRole).toString();
    hide();
    if (!text.isEmpty())
        emit taken(text);
}

bool SuggestionList::eventFilter(QObject *watched, QEvent *event)
{
    // When the key reached the program, for the benchmark's time to the list shown.
    if (watched == m_box && event->type() == QEvent::KeyPress)
        Timing::mark("key-pressed");
    if (isHidden())
        return false;
    if (watched == m_box && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int rows = int(m_suggestions.size());
        switch (key->key()) {
        case Qt::Key_Down:
            choose(std::min(chosenRow() + 1, rows - 1));
            return true;
        case Qt::Key_Up:
            choose(chosenRow() - 1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (chosenRow() < 0)
                return false;
            take(chosenRow());
            return true;
        case Qt::Key_Escape:
            hide();
            return true;
        default:
            return false;
        }
    }
    if (watched == m_box && event->type() == QEvent::FocusOut) {
        hide();
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget != m_box && widget != this && !isAncestorOf(widget))
            hide();
    }
    return false;
}

void SuggestionList::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    if (!m_painted) {
        m_painted = true;
        Timing::mark("suggestions-shown", m_box->text());
    }
}

void SuggestionList::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    QListView::hideEvent(event);
}
