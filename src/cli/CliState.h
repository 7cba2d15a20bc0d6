#pragma once
// The shared state a headless command starts from: the program folder beside
// the executable (where the template lies) and the user's stored options.

namespace lumo::cli {

void initCliState();

}  // namespace lumo::cli
