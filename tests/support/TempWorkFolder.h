#pragma once
// A test's own working folder: the shared state points its program folder at
// the built programs (for the template) and its work folder at a fresh
// temporary folder, and gets everything back when the test ends.
#include <QTemporaryDir>

#include "base/AppState.h"

namespace lumo::test {

class TempWorkFolder {
public:
    TempWorkFolder() : saved_(appState()) {
        appState().programFolder = QStringLiteral(LUMO_BIN_DIR "/");
        appState().workFolder = dir_.path() + "/";
    }
    ~TempWorkFolder() { appState() = saved_; }
    TempWorkFolder(const TempWorkFolder&) = delete;
    TempWorkFolder& operator=(const TempWorkFolder&) = delete;

    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    AppState saved_;
};

}  // namespace lumo::test
