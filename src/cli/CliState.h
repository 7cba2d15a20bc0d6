#pragma once
// The shared state a headless command starts from: the program folder beside
// the executable (where the template lies) and the user's stored options.

namespace lumo::cli {

// False after printing why when the run cannot start (a settings file that
// is no regular file).
bool initCliState();

}  // namespace lumo::cli
