#pragma once
// One run's claim on TempRoot. Every run works in its own folder
// TempRoot/T_<n>/; leftovers of earlier runs are cleared by the first
// instance only. Locks beside the folders (QLockFile, released by the system
// when a process dies) tell a running instance's folders from a crash's:
//   TempRoot/lumo.lock      held by the first instance for its whole run
//   TempRoot/T_<n>.lock     held by the instance working in T_<n>
// The run lock lies outside the run folder, so storing a project (a copy of
// the folder's files) never picks it up.
#include <functional>
#include <memory>

class QLockFile;

namespace lumo {

struct AppState;
class Ui;

class RunSession {
public:
    // draw yields run folder numbers in 1..300000; by default at random.
    explicit RunSession(AppState& state, std::function<int()> draw = {});
    ~RunSession();  // releases the locks; the run folder is shutdown()'s to remove
    RunSession(const RunSession&) = delete;
    RunSession& operator=(const RunSession&) = delete;

    // Takes the instance lock when no other instance holds it and then deletes
    // what earlier runs left below TempRoot; folders of running instances stay.
    // Returns whether this is the first instance. Reports nothing.
    bool cleanUpTempRoot();

    // Makes the run folder and points workFolder and runFolder at it. When the
    // folder cannot be made, shows the system's description of the failure as
    // a plain message, leaves workFolder as it is, sets runFolder to it and
    // returns false.
    bool createRunFolder(Ui& ui);

    // Closes the working store, returns workFolder to runFolder and removes the
    // run folder with its files. Silent; also safe without a run folder.
    void shutdown();

    bool isFirstInstance() const;
    bool hasRunFolder() const;

private:
    AppState& state_;
    std::function<int()> draw_;
    std::unique_ptr<QLockFile> instanceLock_;
    std::unique_ptr<QLockFile> runLock_;
};

// The process-wide session the main window starts and ends.
RunSession& runSession();

}  // namespace lumo
