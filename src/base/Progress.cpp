#include "base/Progress.h"

namespace lumo {

namespace {

class Unwatched : public Progress {
public:
    bool step(int, int, const QString&) override { return true; }
    bool stopped() const override { return false; }
};

std::function<void()>& turnHook() {
    static std::function<void()> turn;
    return turn;
}

}  // namespace

void setWorkTurn(std::function<void()> turn) { turnHook() = std::move(turn); }

void workTurn() {
    if (turnHook()) turnHook()();
}

Progress& noProgress() {
    static Unwatched unwatched;
    return unwatched;
}

QString progressText(int done, int total) {
    return QStringLiteral("Modul %1 von %2 ...").arg(done).arg(total);
}

}  // namespace lumo
