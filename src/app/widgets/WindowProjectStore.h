#pragma once
// The window's stored projects: opening one (chooser, recent menu, command
// line, drop) as stoppable work, saving the project shown, and what the
// project store asks of the window. It knows of the project shown its name,
// where it came from (a document or the store) and whether it was read from
// a document and not stored since, and asks before that one gives way.
#include <functional>
#include <memory>

#include <QString>

#include "acquire/ProjectStore.h"
#include "view/Commands.h"

namespace lumo {

class CommandBar;
class MainWindow;

class WindowProjectStore : private ProjectView {
public:
    WindowProjectStore(MainWindow& window, CommandBar& commands);
    ~WindowProjectStore() override;

    // Runs a store command (open, save, open recent with the entry's index);
    // false for any other command, which is left alone.
    bool run(Command command, int index = -1);
    // A stored project folder from the command line or a drop.
    bool openFolder(const QString& folder);
    SaveOutcome save();  // mnuSpeichern, "save", the refresh's "Ja"
    // Before the shown project gives way: asks about saving it when it was never
    // saved. True when the user cancels, and nothing may change.
    bool cancelledBeforeReplacing();

    // The project shown was read from a document under name, and is not stored yet.
    void readFromDocument(const QString& name);
    // The projects of the documents are listed again: nothing is left unsaved.
    void documentsListed();
    void forgetUnsaved() { unsaved_ = false; }

    const QString& projectName() const { return projectName_; }
    bool unsaved() const { return unsaved_; }
    ProjectStore& store() const { return *store_; }

private:
    // ProjectView
    bool showStoredProject(const ProjectRows& rows) override;
    void clearProject() override;
    void storedProjectShown(const QString& name) override;
    void showRecentProjects(const QStringList& folders) override;

    // Runs an opening of a stored project as stoppable work.
    bool openStored(const std::function<bool()>& open);

    MainWindow& window_;
    CommandBar& commands_;
    std::unique_ptr<ProjectStore> store_;
    QString projectName_;
    bool unsaved_ = false;  // read from a document and not stored since
    bool sourceIsOffice_ = true;
};

}  // namespace lumo
