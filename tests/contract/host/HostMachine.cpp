// The contract tests' machine on the host: the simulated one, set up through its own setters.
#include "ContractMachine.h"
#include "host/support/TempFolder.h"
#include "sim/system/SimMachine.h"
#include "sim/window/SimAccessibility.h"
#include "sim/window/SimWindows.h"
#include "ui/resource.h"

#include <map>
#include <thread>

namespace sim = platform::sim;

struct ContractMachine::Tier {
    TempFolder temp;
    std::map<char, unsigned> types;
    std::thread::id windowThread = std::this_thread::get_id();

    std::filesystem::path Folder(char letter) const { return temp.Path() / std::string(1, letter); }
};

ContractMachine::ContractMachine() : tier_(std::make_unique<Tier>()) {
    sim::Reset();
    sim::ResetMachine();
    sim::DefineDialog(IDD_ABOUT_DIALOG, {{IDOK, "OK"}});
}

ContractMachine::~ContractMachine() {
    for (const std::string& failure : sim::TakeFailures()) {
        ADD_FAILURE() << "simulated window system: " << failure;
    }
    sim::Reset();
    sim::ResetMachine();
}

bool ContractMachine::UnderWine() {
    return false;
}

void ContractMachine::MapDrive(char letter, unsigned type) {
    std::filesystem::create_directories(tier_->Folder(letter));
    tier_->types[letter] = type;
    sim::MapDrive(letter, tier_->Folder(letter), type);
}

void ContractMachine::UnplugDrive(char letter) {
    sim::UnplugDrive(letter);
}

void ContractMachine::RemoveMedium(char letter) {
    sim::RemoveMedium(letter);
}

void ContractMachine::PlugAgain(char letter) {
    sim::MapDrive(letter, tier_->Folder(letter), tier_->types.at(letter));
}

void ContractMachine::PutFile(char letter, const std::string& name, std::string_view bytes) {
    WriteBytes(tier_->Folder(letter) / name, bytes);
}

std::string ContractMachine::FileContent(char letter, const std::string& name) {
    return ReadBytes(tier_->Folder(letter) / name);
}

bool ContractMachine::FileExists(char letter, const std::string& name) {
    return std::filesystem::exists(tier_->Folder(letter) / name);
}

std::vector<std::string> ContractMachine::CommandLineToArgvW(const std::string& arguments) {
    return sim::CommandLineToArgvW(arguments);
}

void ContractMachine::SetRegistryValue(const std::string& name, const std::string& data) {
    sim::SetRegistryValue(kContractKey, name, data);
}

platform::WindowHandle ContractMachine::OpenWindow(platform::DialogProc proc) {
    return sim::OpenDialog(IDD_ABOUT_DIALOG, proc, 0);
}

bool ContractMachine::PumpUntil(const std::function<bool()>& done) {
    return sim::PumpUntil(done);
}

void ContractMachine::LetTimePass(unsigned milliseconds) {
    sim::AdvanceTime(milliseconds);
}

void ContractMachine::AnswerBoxesOnThisThread(std::vector<BoxAnswer> answers) {
    std::vector<sim::BoxAnswer> scripted;
    for (const BoxAnswer& answer : answers) {
        scripted.push_back({answer.button, answer.upForMs});
    }
    const bool windowThread = std::this_thread::get_id() == tier_->windowThread;
    sim::ScriptMessageBoxes(std::move(scripted),
                            windowThread ? sim::BoxThread::Window : sim::BoxThread::Worker);
}

std::vector<ShownBox> ContractMachine::BoxesShown() {
    std::vector<ShownBox> shown;
    for (const sim::ShownMessageBox& box : sim::ShownMessageBoxes()) {
        shown.push_back({box.owner, box.text, box.caption, box.type & 0xF});
    }
    return shown;
}

std::vector<SeenWinEvent> ContractMachine::LiveRegionEventsSeen() {
    std::vector<SeenWinEvent> seen;
    for (const sim::RaisedWinEvent& event : sim::RaisedWinEvents()) {
        if (event.event == EVENT_OBJECT_LIVEREGIONCHANGED) {
            seen.push_back({event.window, event.objectId, event.childId, event.text});
        }
    }
    return seen;
}
