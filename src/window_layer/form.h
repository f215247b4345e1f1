#pragma once

#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QEventLoop;
class Form;

// The Qt window of a loaded form. It reports close, resize and hide back to its form and
// nothing else; the form decides what they mean.
class FormWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit FormWindow(Form *form);

    // The client area: everything below the menu bar, status bar included. Controls are placed
    // on it in twips from its top-left corner.
    QWidget *client() const { return m_client; }

    // Cut loose from the form once it has been unloaded, so late events reach nobody.
    void detach() { m_form = nullptr; }

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    Form *m_form = nullptr;
    QWidget *m_client = nullptr;
};

// One window class of the program. Each class has exactly one shared instance, created on first
// reference and kept until the program ends. The instance is either unloaded (its members only)
// or loaded (its window and controls exist, shown or hidden); unloading destroys the window and
// its controls but keeps the members. Geometry is in twips.
class Form : public QObject
{
    Q_OBJECT
public:
    ~Form() override;

    bool IsLoaded() const { return m_window != nullptr; }
    bool Visible() const;

    // Creates the window hidden with its design-time values and runs Form_Load; does nothing to
    // a loaded window.
    void Load();
    void Show();
    // Shows the window application-modal, with no owner, and returns only once it has been
    // hidden or unloaded. The window's handlers run inside this call.
    void ShowModal();
    void Hide();
    // Runs Form_Unload, then destroys the window and its controls. When no window of the program
    // is left loaded, the program ends.
    void Unload();

    // The window's outer rectangle (frame, title bar and menu bar included). A position set by the
    // program reads back as it was set, fractions included, while the window stays there.
    float Left() const;
    float Top() const;
    void setLeft(float value);
    void setTop(float value);
    float Width() const;
    float Height() const;
    // The client area below the menu bar; 0 x 0 while minimized.
    float ScaleWidth() const;
    float ScaleHeight() const;

    static float ScreenWidth();
    static float ScreenHeight();

    // The loaded window, loading it first when needed, as any access to a control does.
    FormWindow *window();

    static bool AnyLoaded();
    // True while a window of the program is shown modally, until its ShowModal has returned.
    static bool ModalShown();

    // Deletes every shared instance and its window. Called before the QApplication goes: the
    // browser engine cannot outlive it, and windows deleted later crash in its teardown.
    static void DestroyAll();

protected:
    explicit Form(const QString &caption, float clientWidth, float clientHeight,
                  std::optional<QPointF> clientPosition = std::nullopt);

    // Builds the controls with their design-time values into a fresh window.
    virtual void CreateControls(FormWindow &window) = 0;
    virtual void Form_Load() { }
    virtual void Form_Unload() { }
    virtual void Form_Resize() { }

    // A control of this window, loading the window first when it is unloaded.
    template <class T> T *control(const QPointer<T> &control)
    {
        Load();
        return control;
    }

    template <class T> static T &sharedInstance()
    {
        static T *instance = nullptr;
        if (!instance) {
            instance = new T;
            registerInstance(instance, [] { instance = nullptr; });
        }
        return *instance;
    }

private:
    friend class FormWindow;
    static void registerInstance(Form *form, void (*forget)());

    void placeAtDesignGeometry();
    int menuHeight() const;
    QMargins frameMargins() const;
    QSize outerSize() const; // in pixels
    QPoint outerTopLeft() const; // in pixels
    void windowHidden();
    void windowSizeMayHaveChanged();

    const QString m_caption;
    const float m_clientWidth;
    const float m_clientHeight;
    const std::optional<QPointF> m_clientPosition;

    QPointer<FormWindow> m_window;
    QEventLoop *m_modalLoop = nullptr;
    std::optional<float> m_setLeft;
    std::optional<float> m_setTop;
    QSize m_lastOuterSize;
    bool m_lastMinimized = false;
};
