#include "model/AppState.h"

#include <cassert>

namespace quorvel {

namespace {
std::unique_ptr<AppState>& instance() {
    static std::unique_ptr<AppState> state;
    return state;
}
} // namespace

AppState& createAppState() {
    assert(!instance() && "AppState is created once");
    instance() = std::make_unique<AppState>();
    return *instance();
}

AppState& appState() {
    assert(instance() && "AppState is created at start-up");
    return *instance();
}

void releaseAppState() {
    instance().reset();
}

} // namespace quorvel
