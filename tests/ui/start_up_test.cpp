// The program started as a user starts it: the first run's data folder, a second copy that
// brings the first forward and ends without a trace, and a start on a full disk.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "platform/single_instance.h"
#include "services/clock_text.h"
#include "store/settings.h"
#include "test_files.h"

using namespace quantora;
using namespace quantora::testing;

class StartUpTest : public QObject {
    Q_OBJECT

    TempFolder home;
    TempFolder runtime;  // the user's runtime folder, private as a session's is

    QProcessEnvironment Environment(const std::string& dataHome) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", QString::fromStdString(dataHome));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        return env;
    }

    RunningCopy Ask() {
        std::string caption = MainCaption(DateTimeText(ClockNow()));
        return AskRunningCopy(QString::fromStdString(caption),
                              QString::fromStdString(CaptionOneMinuteEarlier(caption)),
                              QString::fromStdString(runtime.path()) + "quantora");
    }

    // Starts the program and waits until it answers as the running copy.
    void Start(QProcess& program, const std::string& dataHome) {
        program.setProcessEnvironment(Environment(dataHome));
        program.start(QUANTORA_BINARY);
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(Ask() == RunningCopy::Raised, 10000);
    }

  private slots:
    void initTestCase() { ::chmod(runtime.path().c_str(), 0700); }

    // Asked from a terminal or a script, it answers there, touches no folder and shows no
    // window; so a refusal must end the program before it reaches the data folder.
    void theCommandLineIsAnsweredWithoutAWindow() {
        struct Case {
            QStringList args;
            int exitCode;
            QString out, err;
        };
        QString dataHome = QString::fromStdString(home.path()) + "asked/";
        for (const Case& c :
             {Case{{"--version"}, 0, QString("Quantora %1\n").arg(QUANTORA_VERSION), ""},
              Case{{"--bogus"}, 2, "", "unknown option --bogus"},
              Case{{"prices.csv"}, 2, "", "prices.csv"}}) {
            QProcess program;
            QProcessEnvironment environment = Environment(dataHome.toStdString());
            environment.remove("QT_QPA_PLATFORM");
            environment.remove("DISPLAY");  // a window would fail to open, not hang
            program.setProcessEnvironment(environment);
            program.start(QUANTORA_BINARY, c.args);
            QVERIFY(program.waitForFinished(10000));
            QCOMPARE(program.exitCode(), c.exitCode);
            QString out = program.readAllStandardOutput(), err = program.readAllStandardError();
            if (c.exitCode == 0) QCOMPARE(out, c.out);
            QVERIFY2(err.contains(c.err) && err.count('\n') == (c.exitCode == 2 ? 1 : 0),
                     qPrintable(err));
            QVERIFY(!std::filesystem::exists(dataHome.toStdString()));
        }
        QProcess program;
        program.start(QUANTORA_BINARY, {"--help"});
        QVERIFY(program.waitForFinished(10000));
        QString usage = program.readAllStandardOutput();
        QVERIFY2(usage.startsWith("Usage: quantora") && usage.contains("/Help/1.htm"),
                 qPrintable(usage));
    }

    void aSecondCopyRaisesTheFirstAndEnds() {
        QProcess first;
        Start(first, home.path());
        // The socket is in the runtime folder, out of other users' reach.
        QVERIFY(std::filesystem::exists(runtime / "quantora"));

        std::string folder = home.path() + "Kiru Software/Quantora_Data/";
        QVERIFY(std::filesystem::is_regular_file(folder + "Jobs0/My First Job Costing"));
        QCOMPARE(ReadSettings(folder), Settings{});

        QProcess second;
        second.setProcessEnvironment(Environment(home.path()));
        second.start(QUANTORA_BINARY);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        first.kill();
        first.waitForFinished();
    }

    // A new account: nothing under its home yet, not even ~/.local/share.
    void aNewAccountStartsWithItsDataFolderMade() {
        TempFolder newHome;
        QProcess program;
        QProcessEnvironment environment = Environment(home.path());
        environment.remove("XDG_DATA_HOME");
        environment.insert("HOME", QString::fromStdString(newHome.path()));
        program.setProcessEnvironment(environment);
        program.start(QUANTORA_BINARY);
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(Ask() == RunningCopy::Raised, 10000);
        QVERIFY(std::filesystem::is_regular_file(
            newHome / ".local/share/Kiru Software/Quantora_Data/Jobs0/My First Job Costing"));
        program.kill();
        program.waitForFinished();
    }

    // Two computers, each with its own home, one data folder on the file server: the second
    // waits on the first and writes nothing there meanwhile.
    void aSecondComputerWritesNothingInTheFolderTheFirstWorksIn() {
        TempFolder server, frontHome, backHome, backRuntime;
        ::chmod(backRuntime.path().c_str(), 0700);
        std::string shared = server / "Quantora_Data/";
        std::filesystem::create_directories(shared);
        for (const TempFolder* desk : {&frontHome, &backHome}) {
            std::string folder = desk->path() + "Kiru Software/Quantora_Data/";
            std::filesystem::create_directories(folder);
            WriteBytes(folder + "Data.dir", shared);
        }
        QProcess front;
        Start(front, frontHome.path());
        QTRY_VERIFY(Exists(shared + "Groups.dat"));  // the first run's content, made by the front
        auto listing = [&] {
            std::string all;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(shared))
                if (entry.is_regular_file())
                    all += entry.path().string() + "=" + ReadBytes(entry.path().string()) + ";";
            return all;
        };
        std::string before = listing();

        QProcess back;
        QProcessEnvironment environment = Environment(backHome.path());
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(backRuntime.path()));
        back.setProcessEnvironment(environment);
        back.start(QUANTORA_BINARY);
        QVERIFY(back.waitForStarted());
        // It waits on the question of who holds the folder, its window not yet shown (nothing
        // answers for it as a running copy), having written nothing there.
        QVERIFY(!back.waitForFinished(2000));
        std::string caption = MainCaption(DateTimeText(ClockNow()));
        QCOMPARE(AskRunningCopy(QString::fromStdString(caption),
                                QString::fromStdString(CaptionOneMinuteEarlier(caption)),
                                QString::fromStdString(backRuntime.path()) + "quantora"),
                 RunningCopy::None);
        QCOMPARE(listing(), before);
        back.kill();
        back.waitForFinished();
        front.kill();
        front.waitForFinished();
        QCOMPARE(listing(), before);
    }

    void aFullDiskStillStartsAndLosesNothing() {
        if (::geteuid() != 0) QSKIP("mounting a small disk needs root, as CI has");
        TempFolder disk;
        QVERIFY2(::mount("tmpfs", disk.path().c_str(), "tmpfs", 0, "size=256k") == 0,
                 "cannot mount a small disk");
        std::string folder = disk.path() + "Kiru Software/Quantora_Data/";
        {
            QProcess first;
            Start(first, disk.path());
            first.kill();
            first.waitForFinished();
        }
        std::string settings = ReadBytes(folder + "Kiru.ini");
        std::string groups = ReadBytes(folder + "Groups.dat");
        {
            std::ofstream filler(disk / "filler", std::ios::binary);
            std::string block(4096, 'x');
            while (filler.write(block.data(), block.size())) {
            }
        }
        QProcess again;
        Start(again, disk.path());
        again.kill();
        again.waitForFinished();
        QCOMPARE(ReadBytes(folder + "Kiru.ini"), settings);
        QCOMPARE(ReadBytes(folder + "Groups.dat"), groups);
        ::umount(disk.path().c_str());
    }
};

QTEST_GUILESS_MAIN(StartUpTest)
#include "start_up_test.moc"
