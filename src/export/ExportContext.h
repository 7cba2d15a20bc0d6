#pragma once
// What every export command works with besides its source: the user
// interface, the options of the look, the host's name for the footer and
// the preview title, the status panel PanelOperation, the hourglass, and where the preview
// page goes. The window fills it; tests and the headless entry fill it
// with their own.
#include <functional>

#include <QString>

#include "base/Options.h"

namespace lumo {

class Ui;

struct ExportContext {
    Ui& ui;
    const Options& options;
    QString hostName;                             // "Word"
    QString previewFile;                          // full path of "TempCodeLum.htm"
    std::function<void(const QString&)> status;   // the status panel PanelOperation; "" empties it
    std::function<void(bool)> busy;               // the hourglass on and off
    bool moduleHeadings = true;                   // a header block before every module of a project export

    void showStatus(const QString& text) const {
        if (status) status(text);
    }
};

// The status panel PanelOperation names an operation for as long as this lives, and is
// emptied however the operation ends; with `hourglass` the pointer waits too.
class OperationStatus {
public:
    OperationStatus(const ExportContext& context, const QString& text, bool hourglass = false)
        : context_(context), hourglass_(hourglass && context.busy) {
        context_.showStatus(text);
        if (hourglass_) context_.busy(true);
    }
    ~OperationStatus() {
        if (hourglass_) context_.busy(false);
        context_.showStatus(QString());
    }
    OperationStatus(const OperationStatus&) = delete;
    OperationStatus& operator=(const OperationStatus&) = delete;

private:
    const ExportContext& context_;
    bool hourglass_;
};

}  // namespace lumo
