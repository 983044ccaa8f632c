#pragma once
// The machine a contract test runs on: the simulated one on the host, the real system under Wine.
// The tests call the platform's own functions; this fixture does only what the platform layer has
// no call for (map a letter, write a registry value, open a window, answer a message box), each
// tier in its own way: tests/contract/host/ and tests/contract/win32/.
#include "platform/Accessibility.h"
#include "platform/Types.h"
#include "platform/Volumes.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A key of the local machine hive that belongs to the contract tests.
inline constexpr char kContractKey[] = "SOFTWARE\\TolvoUpdaterContract";

struct BoxAnswer {
    int button;
    unsigned upForMs = 0; // time the box stays up before it is answered
};

// An event a screen reader would have received.
struct SeenWinEvent {
    platform::WindowHandle window;
    long objectId, childId;
    std::string text; // the window's text when it arrived
};

struct ShownBox {
    platform::WindowHandle owner;
    std::string text;
    std::string caption;
    unsigned buttons; // MB_OK, MB_OKCANCEL or MB_YESNO
};

class ContractMachine : public ::testing::Test {
protected:
    ContractMachine();
    ~ContractMachine() override;

    // Whether the tier is Wine, where a few things differ from Windows (each test says which).
    static bool UnderWine();

    // Maps `letter` as a drive of `type` to a fresh folder; plugging it again maps the same folder
    // as a new medium. Every letter goes with the machine.
    void MapDrive(char letter, unsigned type = DRIVE_REMOVABLE);
    void UnplugDrive(char letter);
    void PlugAgain(char letter);
    // The drive stays, its medium goes: an empty card slot on Windows, a letter whose folder has
    // gone under Wine.
    void RemoveMedium(char letter);
    // The file `name` in the folder of drive `letter`, reached without the platform layer.
    void PutFile(char letter, const std::string& name, std::string_view bytes);
    std::string FileContent(char letter, const std::string& name);
    bool FileExists(char letter, const std::string& name);

    // The words CommandLineToArgvW gives for the ASCII `arguments` after a program name.
    static std::vector<std::string> CommandLineToArgvW(const std::string& arguments);

    // A string value (REG_SZ) under kContractKey, which goes with the machine.
    void SetRegistryValue(const std::string& name, const std::string& data);

    // A dialog of the program's About template on this thread, its messages handed to `proc`.
    platform::WindowHandle OpenWindow(platform::DialogProc proc);
    // Delivers this thread's messages until `done` holds; false when the deadline passes first.
    bool PumpUntil(const std::function<bool()>& done);
    // Lets time pass while this thread's messages are delivered: the host's clock, Wine's real time.
    void LetTimePass(unsigned milliseconds);

    // The next message boxes shown on the calling thread, and only there, are answered so.
    void AnswerBoxesOnThisThread(std::vector<BoxAnswer> answers);
    std::vector<ShownBox> BoxesShown();

    // The EVENT_OBJECT_LIVEREGIONCHANGED events raised in this process since the machine was made,
    // as a listener sees them once this thread's messages are delivered.
    std::vector<SeenWinEvent> LiveRegionEventsSeen();

private:
    struct Tier;
    std::unique_ptr<Tier> tier_;
};
