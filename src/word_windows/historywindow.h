#pragma once

#include "wordlistwindow.h"

class QPushButton;

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

    QPushButton *m_clear;
};
