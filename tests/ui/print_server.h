// A print server of the test's own: a private cupsd with its own configuration folder, reached
// through a Unix socket that CUPS_SERVER names, with one queue "Quantora_Test" whose device is
// /dev/null and whose spooled documents are kept, so a test prints through a real queue and
// reads back what arrived. No test passes without it: Start says why it could not start.
#pragma once

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QString>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "test_files.h"

namespace quantora::testing {

class PrintServer {
  public:
    ~PrintServer() { Stop(); }

    // Starts the server and its queue, the system's default printer from then on. Nothing when
    // it runs; otherwise the reason it does not.
    std::optional<std::string> Start() {
        const std::string& root = folder_.path();
        ::chmod(root.c_str(), 0755);  // the queue's helpers run as another user
        for (const char* sub : {"spool", "tmp", "cache", "state", "log"})
            std::filesystem::create_directories(root + sub);
        WriteBytes(root + "cupsd.conf",
                   "Listen " + Socket() +
                       "\nLogLevel warn\nBrowsing No\nDefaultAuthType None\nPreserveJobFiles Yes\n"
                       "DirtyCleanInterval 0\n"
                       "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                       "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                       "</Policy>\n");
        WriteBytes(root + "cups-files.conf",
                   "ServerRoot " + root + "\nRequestRoot " + root + "spool\nTempDir " + root +
                       "tmp\nCacheDir " + root + "cache\nStateDir " + root + "state\nErrorLog " +
                       root + "log/error_log\nAccessLog " + root + "log/access_log\nPageLog " +
                       root + "log/page_log\nFileDevice Yes\n");
        server_ = ::fork();
        if (server_ < 0) return "cupsd could not be started: fork failed";
        if (server_ == 0) {
            ::execlp("cupsd", "cupsd", "-f", "-c", (root + "cupsd.conf").c_str(), "-s",
                     (root + "cups-files.conf").c_str(), nullptr);
            ::_exit(127);
        }
        for (int wait = 0; wait < 100 && !Exists(Socket()); ++wait) {
            int status = 0;
            if (::waitpid(server_, &status, WNOHANG) == server_) {
                server_ = -1;
                return "cupsd ended at once (is the cups package installed?): " +
                       ReadLog("error_log");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (!Exists(Socket())) return "cupsd did not open its socket: " + ReadLog("error_log");
        ::setenv("CUPS_SERVER", Socket().c_str(), 1);
        // Printer defaults kept by Print Setup go here, not to the machine's own lpoptions.
        ::setenv("CUPS_SERVERROOT", root.c_str(), 1);
        ::setenv("HOME", root.c_str(), 1);
        for (const QStringList& arguments :
             {QStringList{"-p", "Quantora_Test", "-E", "-v", "file:///dev/null", "-m", "raw"},
              QStringList{"-d", "Quantora_Test"}}) {
            QProcess lpadmin;
            lpadmin.start("lpadmin", arguments);
            if (!lpadmin.waitForFinished(20000) || lpadmin.exitCode() != 0)
                return "lpadmin could not make the queue: " +
                       lpadmin.readAllStandardError().toStdString();
        }
        return std::nullopt;
    }

    // The documents spooled so far, oldest first.
    std::vector<std::string> Documents() const {
        std::vector<std::string> documents;
        for (const QString& name : QDir(QString::fromStdString(folder_ / "spool"))
                                       .entryList({"d*"}, QDir::Files, QDir::Name))
            documents.push_back(folder_ / ("spool/" + name.toStdString()));
        return documents;
    }

    // The printer defaults kept for the user (lpoptions), as text.
    std::string KeptDefaults() const {
        for (const std::string& path : {folder_ / "lpoptions", folder_ / ".cups/lpoptions"})
            if (Exists(path)) return ReadBytes(path);
        return "";
    }

    // Removes the queue: the system has no printer after it.
    void RemoveQueue() const { Run("lpadmin", {"-x", "Quantora_Test"}); }

    // A second queue with a printer driver (a PPD of CUPS's own samples).
    void AddDriverQueue() const {
        Run("lpadmin", {"-p", "Quantora_Driver", "-E", "-v", "file:///dev/null", "-m",
                        "drv:///sample.drv/generic.ppd"});
    }

    // Runs a CUPS command line tool against this server (lpoptions, cupsreject, cupsaccept...).
    void Run(const QString& tool, const QStringList& arguments) const {
        QProcess process;
        process.start(tool, arguments);
        if (!process.waitForFinished(20000) || process.exitCode() != 0)
            qWarning("%s failed: %s", qPrintable(tool), process.readAllStandardError().constData());
    }

    // The job attributes CUPS keeps of the newest job, as raw bytes (names and values readable).
    std::string NewestJobAttributes() const {
        QStringList controls = QDir(QString::fromStdString(folder_ / "spool"))
                                   .entryList({"c*"}, QDir::Files, QDir::Name);
        return controls.isEmpty() ? ""
                                  : ReadBytes(folder_ / ("spool/" + controls.back().toStdString()));
    }

  private:
    std::string Socket() const { return folder_ / "cups.sock"; }
    std::string ReadLog(const char* name) const {
        std::string path = folder_ / ("log/" + std::string(name));
        return Exists(path) ? ReadBytes(path) : "(no log)";
    }
    void Stop() {
        if (server_ <= 0) return;
        ::kill(server_, SIGTERM);
        ::waitpid(server_, nullptr, 0);
        server_ = -1;
    }

    TempFolder folder_;
    pid_t server_ = -1;
};

}  // namespace quantora::testing
