// The program started as a user starts it: the first run's data folder, and a second copy
// that brings the first forward and ends without a trace.
#include <QProcess>
#include <QTest>
#include <filesystem>

#include "platform/single_instance.h"
#include "store/clock_text.h"
#include "store/settings.h"
#include "test_files.h"

using namespace quantora;
using namespace quantora::testing;

class StartUpTest : public QObject {
    Q_OBJECT

    TempFolder home;
    QString instance = QString("-test-%1").arg(QCoreApplication::applicationPid());

    QProcessEnvironment Environment() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", QString::fromStdString(home.path()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QUANTORA_INSTANCE", instance);
        return env;
    }

    RunningCopy Ask() {
        std::string caption = MainCaption(DateTimeText(ClockNow()));
        return AskRunningCopy(QString::fromStdString(caption),
                              QString::fromStdString(CaptionOneMinuteEarlier(caption)),
                              RunningCopyName() + instance);
    }

  private slots:
    void aSecondCopyRaisesTheFirstAndEnds() {
        QProcess first;
        first.setProcessEnvironment(Environment());
        first.start(QUANTORA_BINARY);
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(Ask() == RunningCopy::Raised, 10000);

        std::string folder = home.path() + "Kiru Software/Quantora_Data/";
        QVERIFY(std::filesystem::is_regular_file(folder + "Jobs0/My First Job Costing"));
        QCOMPARE(ReadSettings(folder), Settings{});

        QProcess second;
        second.setProcessEnvironment(Environment());
        second.start(QUANTORA_BINARY);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        first.kill();
        first.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(StartUpTest)
#include "start_up_test.moc"
