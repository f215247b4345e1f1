#include "common/application.h"
#include "common/form.h"
#include "common/timing.h"
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
    Timing::mark("main");
    App::prepareBrowserEngine();
    QApplication app(argc, argv);
    Timing::mark("qapplication");
    App::applyIdentity();
    Timing::mark("application");

    frmBrowser::instance().Load();
    Timing::mark("loaded");
    frmBrowser::instance().Show();
    Timing::mark("show-called");
    const int code = QApplication::exec();
    Form::DestroyAll();
    return code;
}
