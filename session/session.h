// One session: one programming unit, its record and connection outcome, the view a front
// end draws, the device changes it holds, and the update's runner. What a front end calls
// is here; what it implements is session/front_end.h. Several sessions, each with its own
// front end and unit, can live in one process and update at the same time.
#pragma once

#include "session/front_end.h"
#include "session/presentation.h"
#include "unitlink/unit_connection.h"
#include "update/update_procedure.h"

#include <deque>
#include <string>
#include <thread>

enum class DeviceChange { Arrival, Removal };

// How a connection attempt ended, from openUnit's result and the record it filled.
ConnectionOutcome connectionOutcome(const UnitConnection& unit, int openResult);

// How the last press of Update ended: declined at one of the confirmations, failed (the
// failure reported), written, or not begun because the unit identified again after the
// confirmations was not the one they were answered for.
enum class UpdateEnd { None, Declined, Failed, Succeeded, Changed };

// Where an update's blocks are written: on a worker thread, so that a window keeps
// answering; or on the window's thread itself, where that thread may block without
// freezing anything (a browser's worker, whose waits yield to its event loop).
enum class UpdateWriter { WorkerThread, WindowThread };

class Session {
  public:
    // Its texts, and its update's, in `language`, which the program's entry chose.
    Session(FrontEnd& frontEnd, Language language,
            UpdateWriter writer = UpdateWriter::WorkerThread);
    // Closes the unit. Not while an update runs (close() refuses then): its worker may be
    // waiting for the window's thread, which would wait for it here.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // What a front end calls, each on its window thread.

    // Required of a front end with a main window, once it has the window and has tried to
    // start its hot-plug source: draws the title and labels and makes the first connection
    // attempt, or, without a hot-plug source, says so in a box and ends the window with
    // kEndHotPlugUnavailable (false). A front end without a window (the terminal) need not
    // call it: the view is titled and labelled from construction, and connect() makes the
    // attempt.
    bool start(bool hotPlugWatched);
    // Ends the window unless an update runs (false).
    bool close();
    // The Update button: with no unit open it reports that none is (a press racing a
    // removal); with one open it does nothing unless the view enables it. The
    // confirmations on the window's thread, then the unit identified again there: if it is
    // not what was shown when Update was pressed (another controller, mode, version or
    // device), nothing is written and the view shows what is connected now, with a box
    // saying why. The rest where the session's UpdateWriter says. From the first
    // confirmation's acceptance the view says that the update runs and Close is refused;
    // from the lock on only the writer touches the unit record and device changes are held.
    void updatePressed();
    // An arrival of a HID interface, or a removal with its path. Held while a box of the
    // session's holds them or an update runs, and handled in order afterwards. May come
    // while FrontEnd::ask waits (re-entered from the box's event loop): during an OK box
    // it is held; during a confirmation it is handled at once.
    void deviceChanged(DeviceChange change, const std::wstring& path);
    // After FrontEnd::postUpdateEnded, once the window's thread gets to it.
    void updateEnded();

    // A connection attempt as at start: the first unit, or only the one at `onlyPath`
    // (the terminal's --device and its production line).
    void connect(const std::wstring& onlyPath);
    // Closes the unit, Update disabled and the versions emptied, without a word (the
    // production line, between two units).
    void release();
    // Hands every report and wait of this session's unit to `trace` from now on, null to
    // none (the terminal's --trace). Not while an update runs; `trace` must outlive that.
    void traceWire(const WireTrace* trace) { unit_.trace = trace; }

    const SessionView& view() const { return view_; }
    Language language() const { return language_; }
    bool updateRunning() const { return view_.updateRunning; }
    bool closeAllowed() const { return !view_.updateRunning; }
    // The progress window may not be closed while the update runs, as Close is refused:
    // it would hide the only sign of the update; it goes when the update ends.
    bool progressCloseAllowed() const { return !view_.updateRunning; }
    UpdateEnd lastUpdateEnd() const { return lastEnd_; }
    // The question the last update ended at, when it was declined.
    BoxId declinedAt() const { return declinedAt_; }

  private:
    struct HeldChange {
        DeviceChange change;
        std::wstring path;
    };
    // What an update is decided on: the unit's mode, the controller's state, type and
    // versions, and which opening of which device it came from.
    struct Identification {
        std::uint8_t unitInBootloader;
        std::uint16_t escState;
        std::uint32_t typeCode, bootloaderVersion;
        std::uint16_t escVersion;
        std::wstring device;
        std::uint64_t opening;
        bool operator==(const Identification& other) const;
    };

    void label();
    void show();
    void showConnectionState(int openResult);
    void hintWithInstructions(unsigned textId);
    void leaveReady(bool closeTheUnit);
    void refreshVersions();
    void okBox(BoxId id, const std::wstring& text, const std::wstring& caption, MessageIcon icon);
    void onArrival();
    void onRemoval(const std::wstring& path);
    bool mustHold() const;
    void processHeld();
    UpdateFeedback feedback();
    bool confirm(Confirmation question, const std::wstring& caption, const std::wstring& text);
    FeedbackWindow openProgress();
    void keepOnTop(FeedbackWindow progress, FeedbackWindow& lastForeground);
    void reportFailure(const std::wstring& text, const std::wstring& caption, std::int32_t code,
                       std::uint32_t lastError);
    void reportSuccess();
    void updateStopped();
    std::int32_t openNow(const std::wstring& onlyPath);
    Identification identification(const UnitConnection& unit) const;
    bool stillWhatWasConfirmed(const Identification& decided);

    FrontEnd& frontEnd_;
    const Language language_;
    UnitConnection unit_;
    SessionView view_;
    ConnectionOutcome shown_ = ConnectionOutcome::NoUnit;
    std::deque<HeldChange> held_;
    int boxesHolding_ = 0;
    bool processingHeld_ = false;
    UpdateWriter writer_;
    std::thread worker_;
    bool writing_ = false; // from the lock on: the record is the writer's
    std::uint64_t openings_ = 0; // each opening of a unit, so that a new one is told apart
    UpdateEnd lastEnd_ = UpdateEnd::None;
    BoxId declinedAt_ = BoxId::ConfirmUpdate;
};
