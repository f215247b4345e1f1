#include "common/application.h"
#include "common/form.h"
#include "main_window/frmBrowser.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (!App::hasDisplay()) {
        std::fputs("TavrelDictionary: no display to open a window on; without one, run it as "
                   "'xvfb-run -a TavrelDictionary'\n",
                   stderr);
        return 1;
    }
    App::prepareBrowserEngine();
    QApplication app(argc, argv);
    App::applyIdentity();

    frmBrowser::instance().Show();
    const int code = QApplication::exec();
    Form::DestroyAll();
    return code;
}
