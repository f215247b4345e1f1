#include "form.h"

#include "program/application.h"
#include "twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMenuBar>
#include <QScreen>

#include <vector>

namespace {

struct SharedInstance
{
    Form *form;
    void (*forget)();
};

std::vector<SharedInstance> &sharedInstances()
{
    static std::vector<SharedInstance> instances;
    return instances;
}

// A window that has never been shown does not know its frame yet; the frame of any window shown
// before is the best guess, since all windows of the program have the same kind of frame.
QMargins &lastKnownFrameMargins()
{
    static QMargins margins;
    return margins;
}

QSize screenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

// A window stands on whole pixels. The twips the program asked for are what it reads back, as
// long as the window has not been moved since.
float position(const std::optional<float> &set, int pixels)
{
    if (set && Twips::toPixels(*set) == pixels)
        return *set;
    return Twips::fromPixels(pixels);
}

} // namespace

FormWindow::FormWindow(Form *form)
    : m_form(form)
    , m_client(new QWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setCentralWidget(m_client);
}

bool FormWindow::event(QEvent *event)
{
    // Hover tips would otherwise overwrite the status bar's text.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void FormWindow::closeEvent(QCloseEvent *event)
{
    // Closing is never refused: it unloads.
    event->accept();
    if (m_form)
        m_form->Unload();
}

void FormWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_form)
        m_form->windowSizeMayHaveChanged();
}

void FormWindow::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    // The frame often becomes known only after the window manager has framed the window, which
    // changes the outer size without a resize of the client.
    if (m_form)
        m_form->windowSizeMayHaveChanged();
}

void FormWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_form)
        m_form->windowSizeMayHaveChanged();
}

void FormWindow::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    // Some window systems hide a window they minimize; only a hide by the program counts.
    if (m_form && !event->spontaneous())
        m_form->windowHidden();
}

void FormWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (m_form && event->type() == QEvent::WindowStateChange)
        m_form->windowSizeMayHaveChanged();
}

Form::Form(const QString &caption, float clientWidth, float clientHeight,
           std::optional<QPointF> clientPosition)
    : m_caption(caption)
    , m_clientWidth(clientWidth)
    , m_clientHeight(clientHeight)
    , m_clientPosition(clientPosition)
{ }

Form::~Form() { delete m_window; }

void Form::registerInstance(Form *form, void (*forget)())
{
    // The program ends when its last window is unloaded, not when the last one is hidden.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    sharedInstances().push_back({form, forget});
}

void Form::DestroyAll()
{
    // Windows unloaded in the last moments of the event loop are still waiting for deletion.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::vector<SharedInstance> instances;
    instances.swap(sharedInstances());
    for (const SharedInstance &instance : instances) {
        delete instance.form;
        instance.forget();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool Form::AnyLoaded()
{
    for (const SharedInstance &instance : sharedInstances()) {
        if (instance.form->IsLoaded())
            return true;
    }
    return false;
}

bool Form::ModalShown()
{
    for (const SharedInstance &instance : sharedInstances()) {
        if (instance.form->m_modalLoop)
            return true;
    }
    return false;
}

bool Form::Visible() const { return m_window && m_window->isVisible(); }

FormWindow *Form::window()
{
    Load();
    return m_window;
}

void Form::Load()
{
    if (m_window)
        return;
    m_window = new FormWindow(this);
    m_window->setWindowTitle(m_caption);
    m_lastOuterSize = QSize();
    m_lastMinimized = false;
    m_setLeft.reset();
    m_setTop.reset();
    CreateControls(*m_window);
    placeAtDesignGeometry();
    Form_Load();
}

void Form::placeAtDesignGeometry()
{
    const int width = Twips::toPixels(m_clientWidth);
    m_window->resize(width, Twips::toPixels(m_clientHeight));
    const int menu = menuHeight();
    const QRect interior(m_clientPosition
                             ? QPoint(Twips::toPixels(float(m_clientPosition->x())),
                                      Twips::toPixels(float(m_clientPosition->y())) - menu)
                             : m_window->geometry().topLeft(),
                         QSize(width, Twips::toPixels(m_clientHeight) + menu));
    m_window->setGeometry(interior);
}

void Form::Show()
{
    Load();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void Form::ShowModal()
{
    Load();
    if (m_modalLoop)
        return;
    QPointer<FormWindow> window = m_window;
    // Modality can only change while the window is hidden.
    if (window->isVisible())
        window->hide();
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();

    if (window && window->isVisible() && window == m_window) {
        QEventLoop loop;
        m_modalLoop = &loop;
        loop.exec(QEventLoop::DialogExec);
        m_modalLoop = nullptr;
    }
    if (window)
        window->setWindowModality(Qt::NonModal);
}

void Form::Hide()
{
    if (m_window)
        m_window->hide();
}

void Form::Unload()
{
    if (!m_window)
        return;
    Form_Unload();
    if (m_window) {
        // The unload may come from one of the window's own handlers, which are still on the
        // stack: the window goes once control is back in the event loop.
        FormWindow *window = m_window;
        m_window = nullptr;
        window->detach();
        window->hide();
        window->deleteLater();
    }
    if (m_modalLoop)
        m_modalLoop->quit();
    if (!AnyLoaded())
        App::End();
}

void Form::windowHidden()
{
    if (m_modalLoop)
        m_modalLoop->quit();
}

void Form::windowSizeMayHaveChanged()
{
    if (!m_window || !m_window->isVisible())
        return;
    const QSize outer = outerSize();
    const bool minimized = m_window->isMinimized();
    if (outer == m_lastOuterSize && minimized == m_lastMinimized)
        return;
    m_lastOuterSize = outer;
    m_lastMinimized = minimized;
    Form_Resize();
}

int Form::menuHeight() const
{
    const QWidget *menu = m_window ? m_window->menuWidget() : nullptr;
    if (!menu || menu->isHidden())
        return 0;
    // Asked of the menu itself: the layout may not have run yet for a hidden window.
    return menu->hasHeightForWidth() ? menu->heightForWidth(m_window->width())
                                     : menu->sizeHint().height();
}

QMargins Form::frameMargins() const
{
    if (!m_window)
        return {};
    const QRect frame = m_window->frameGeometry();
    const QRect interior = m_window->geometry();
    const QMargins margins(interior.left() - frame.left(), interior.top() - frame.top(),
                           frame.right() - interior.right(), frame.bottom() - interior.bottom());
    if (!margins.isNull())
        lastKnownFrameMargins() = margins;
    else if (!m_window->testAttribute(Qt::WA_WState_Visible))
        return lastKnownFrameMargins();
    return margins;
}

QPoint Form::outerTopLeft() const
{
    const QMargins margins = frameMargins();
    return m_window->geometry().topLeft() - QPoint(margins.left(), margins.top());
}

float Form::Left() const { return m_window ? position(m_setLeft, outerTopLeft().x()) : 0; }

float Form::Top() const { return m_window ? position(m_setTop, outerTopLeft().y()) : 0; }

void Form::setLeft(float value)
{
    FormWindow *w = window();
    QRect interior = w->geometry();
    interior.moveLeft(Twips::toPixels(value) + frameMargins().left());
    w->setGeometry(interior);
    m_setLeft = value;
}

void Form::setTop(float value)
{
    FormWindow *w = window();
    QRect interior = w->geometry();
    interior.moveTop(Twips::toPixels(value) + frameMargins().top());
    w->setGeometry(interior);
    m_setTop = value;
}

QSize Form::outerSize() const
{
    if (!m_window)
        return QSize(0, 0);
    return m_window->size().grownBy(frameMargins());
}

float Form::Width() const { return Twips::fromPixels(outerSize().width()); }

float Form::Height() const { return Twips::fromPixels(outerSize().height()); }

float Form::ScaleWidth() const
{
    if (!m_window || m_window->isMinimized())
        return 0;
    return Twips::fromPixels(m_window->width());
}

float Form::ScaleHeight() const
{
    if (!m_window || m_window->isMinimized())
        return 0;
    return Twips::fromPixels(std::max(0, m_window->height() - menuHeight()));
}

float Form::ScreenWidth() { return Twips::fromPixels(screenSize().width()); }

float Form::ScreenHeight() { return Twips::fromPixels(screenSize().height()); }
