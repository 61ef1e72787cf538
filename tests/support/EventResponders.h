#pragma once
#include <cstdint>
#include <deque>
#include <memory>

#include "platform/Form.h"
#include "platform/headless/HeadlessBackend.h"

// Responders that play the player's part in an event on the headless back end: they
// acknowledge every dialogue line by clicking the message window's end button, and
// answer choices from a queue by clicking the choice window's buttons. A click is
// only scripted while no other input is waiting, so each line or choice gets one.
namespace test {

class EventResponders {
public:
    // `readMs`: virtual milliseconds the player takes before each click.
    explicit EventResponders(ui::HeadlessBackend& backend, std::uint32_t readMs = 50);
    ~EventResponders();
    EventResponders(const EventResponders&) = delete;
    EventResponders& operator=(const EventResponders&) = delete;

    // The answers the next choices get (0 the first caption; kNoAnswer ends the choice
    // with none, as a run stopped while it waits does); a choice with none queued is
    // left open, so the watchdog names it.
    static constexpr int kNoAnswer = -1;
    std::deque<int> answers;
    int linesAcknowledged = 0;
    int choicesAnswered = 0;

private:
    bool Step();
    ui::HeadlessBackend& backend_;
    std::uint32_t readMs_;
    int id_;
    // The choice window answered last, while it lives. Held by its life token, not its
    // address: the next choice window may be made at the address of the one just
    // deleted (a plain allocator reuses it at once), and must still get its answer.
    ui::LifeToken answered_;
};

}  // namespace test
