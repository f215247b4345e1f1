// A small Wayland client that takes the primary selection once its window has the focus, then
// stays, as the program a user selected a word in does. Some compositors (kwin) offer the
// primary selection to other clients only once one has taken it.
//
//   selectionholder TEXT     prints "held" once it owns the selection, and runs until killed

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>

#include <cstdio>
#include <utility>

namespace {
class Window : public QRasterWindow
{
protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(QRect(QPoint(), size()), Qt::white); }
};
} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: selectionholder TEXT\n");
        return 2;
    }
    const QString text = QString::fromUtf8(argv[1]);
    QClipboard *clipboard = QGuiApplication::clipboard();
    Window window;
    window.setTitle("selection holder");
    window.resize(320, 200);
    // Once: the text another client selects after it stays theirs.
    bool taken = false;
    QObject::connect(&window, &QWindow::activeChanged, &window, [&] {
        if (window.isActive() && !std::exchange(taken, true))
            clipboard->setText(text, QClipboard::Selection);
    });
    bool told = false;
    QObject::connect(clipboard, &QClipboard::selectionChanged, &window, [&] {
        if (!told && clipboard->ownsSelection()) {
            told = true;
            std::printf("held\n");
            std::fflush(stdout);
        }
    });
    window.show();
    return app.exec();
}
