#include "sim/window/SimState.h"

namespace platform {

using namespace sim::detail;

int MessageBoxA(WindowHandle owner, const char* text, const char* caption, unsigned type) {
    State& state = TheState();
    sim::BoxAnswer answer{0};
    {
        std::lock_guard hold(state.lock);
        Data& data = state.data;
        if (!data.boxAnswers.empty()) {
            answer = std::move(data.boxAnswers.front());
            data.boxAnswers.pop_front();
        } else if ((type & 0xF) == MB_OK) {
            answer.button = IDOK;
        } else {
            data.failures.push_back(std::string("unscripted message box: ") + (text ? text : ""));
        }
        data.boxes.push_back({owner, text ? text : "", caption ? caption : "", type,
                              std::this_thread::get_id(), answer.button});
    }
    if (answer.whileShown) {
        answer.whileShown();
    }
    return answer.button;
}

std::string ApplicationName() {
    return "Tolvo Firmware Updater";
}

namespace sim {

void ScriptMessageBoxes(std::vector<BoxAnswer> answers) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    for (auto& answer : answers) {
        state.data.boxAnswers.push_back(std::move(answer));
    }
}

std::vector<ShownMessageBox> ShownMessageBoxes() {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    return state.data.boxes;
}

} // namespace sim
} // namespace platform
