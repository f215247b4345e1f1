#pragma once

#include <QWidget>

struct Preferences;

// One subject of "Preferences...": shows its part of the preferences, and after "Save" writes
// back what the user chose. Its controls are placed in twips from the page's top-left corner.
class PreferencesPage : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void showValues(const Preferences &preferences) = 0;
    virtual void takeValues(Preferences &preferences) const = 0;
};
