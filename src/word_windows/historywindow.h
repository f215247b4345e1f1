#pragma once

#include "wordlistwindow.h"

#include "words/store.h"

class QPushButton;
template <typename Item>
class WordListModel;

// "Words" → "History…": the input, how often it was looked up, and when last, newest first; a
// filter box, and "Clear History", which asks first.
class HistoryWindow : public WordListWindow
{
    Q_OBJECT
public:
    HistoryWindow(Words::Store &store, QWidget *parent);

    QPushButton *clearButton() const { return m_clear; }

private:
    void clearHistory();

    Words::Store &m_store;
    QPushButton *m_clear;
};
