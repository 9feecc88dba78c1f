// The main window's life on an emulated adapter: what a load shows, how the controls and
// the records exchange data, and what OK and Cancel leave in the adapter.
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "ConfigDlgHarness.h"
#include "KeyTable.h"
#include "MessageAnswering.h"
#include "ProgressPort.h"
#include "Win32AdapterLock.h"

namespace {

POINT Centre(HWND hWnd)
{
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

TEST_F(ConfigDlgTest, LoadListsUsedSlotsInSlotOrderAndShowsTheActiveOneMarked)
{
    UseSlot(5, "Late");
    UseSlot(0, "First");
    ProfileRecord& active = UseSlot(2, "Middle");
    active.keySlots[3] = KeyCodeFromName("Q");
    Header().used[4] = 2;  // not 1: a free slot
    Header().activeProfile = 2;
    script.Then([&] {
        ASSERT_EQ(ListCount(), 3);
        EXPECT_EQ(ListText(0), "First");
        EXPECT_EQ(ListText(1), "Middle");
        EXPECT_EQ(ListText(2), "Late");
        EXPECT_EQ(ListSelection(), 1);
        EXPECT_EQ(dialog.m_nShownItem, 1);
        EXPECT_EQ(ItemText(IDC_KEY_A), "Q");
        EXPECT_TRUE(RowShowsMark(List(), 1));
        EXPECT_FALSE(RowShowsMark(List(), 0));
        for (int id : {IDC_ADD, IDC_DELETE, IDC_USE, IDOK}) EXPECT_TRUE(::IsWindowEnabled(Item(id))) << id;
        EXPECT_TRUE(::IsWindowVisible(Item(IDC_USB)));
        EXPECT_EQ(adapter.OpenHandleCount(), 0u) << "the loaded window still holds the adapter open";
        Close(IDCANCEL);
    });
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(ConfigDlgTest, ActiveByteNamingAFreeSlotOrNoneShowsNothingAndKeepsTheDefaults)
{
    for (uint8_t active : {uint8_t{1}, kNoActiveProfile}) {
        UseSlot(0, "Only");
        Header().activeProfile = active;
        TestConfigDlg fresh(adapter, lock, layout);
        TestApp().m_pMainWnd = &fresh;
        ModalScript checks;
        checks.Then([&] {
            HWND hWnd = fresh.m_hWnd;
            EXPECT_EQ(::SendDlgItemMessageA(hWnd, IDC_PROFILE_LIST, LB_GETCURSEL, 0, 0), LB_ERR);
            EXPECT_EQ(fresh.m_nShownItem, -1);
            EXPECT_TRUE(::IsDlgButtonChecked(hWnd, IDC_COMBO_FIRST + kPadL1));
            EXPECT_TRUE(::IsDlgButtonChecked(hWnd, IDC_RIGHT_FIRST + kPadL1));
            EXPECT_TRUE(::IsDlgButtonChecked(hWnd, IDC_LEFT_FIRST + kPadA));
            EXPECT_TRUE(::IsDlgButtonChecked(hWnd, IDC_MIDDLE_FIRST + kPadB));
            ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
        });
        checks.Run(fresh);
    }
}

BOOL CALLBACK TakeFirstWindow(HWND hWnd, LPARAM found)
{
    *reinterpret_cast<HWND*>(found) = hWnd;
    return FALSE;
}

// Asks, from a thread of its own, whether the window of this thread still answers, as the
// system does before it calls a window hung: a message sent with a second to answer it.
class AnswerProbe {
public:
    AnswerProbe() : m_asked(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~AnswerProbe()
    {
        if (m_asker.joinable()) m_asker.join();
        ::CloseHandle(m_asked);
    }
    // Asks once the thread has a window and `waitMs` have passed; Asked() is set after.
    void Start(unsigned waitMs)
    {
        m_asker = std::thread([this, waitMs, thread = ::GetCurrentThreadId()] {
            HWND window = nullptr;
            while (!window) {
                ::Sleep(10);
                ::EnumThreadWindows(thread, TakeFirstWindow, reinterpret_cast<LPARAM>(&window));
            }
            ::Sleep(waitMs);
            DWORD_PTR result = 0;
            const auto start = std::chrono::steady_clock::now();
            m_answered = ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0;
            m_answerMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
            ::SetEvent(m_asked);
        });
    }
    HANDLE Asked() const { return m_asked; }
    void ExpectAnswered()
    {
        m_asker.join();
        EXPECT_TRUE(m_answered) << "no answer within 1 s";
        EXPECT_LT(m_answerMs, 1000);
    }

private:
    HANDLE m_asked;
    std::thread m_asker;
    bool m_answered = false;
    long long m_answerMs = 0;
};

// The adapter's lock held by another holder until the window, waiting for it at its load,
// has been asked whether it answers.
TEST_F(ConfigDlgTest, WindowAnswersTheSystemWhileItWaitsForTheLock)
{
    const std::wstring name = L"Local\\VantorTestLock" + std::to_wstring(::GetCurrentProcessId());
    Win32AdapterLock waitedLock(name.c_str(), 20000, WaitAnsweringMessages);
    EmulatedAdapter plain;
    TestConfigDlg waiting(plain, waitedLock, layout);
    TestApp().m_pMainWnd = &waiting;
    AnswerProbe probe;
    HANDLE held = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
        ::WaitForSingleObject(mutex, INFINITE);
        ::SetEvent(held);
        ::WaitForSingleObject(probe.Asked(), INFINITE);
        ::ReleaseMutex(mutex);
        ::CloseHandle(mutex);
    });
    ::WaitForSingleObject(held, INFINITE);
    probe.Start(100);
    ModalScript loaded;
    loaded.Then([&] {
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(waiting.m_hWnd, IDOK)));  // loaded once it had the lock
        ::PostMessageA(waiting.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    loaded.Run(waiting);
    holder.join();
    ::CloseHandle(held);
    probe.ExpectAnswered();
}

// An adapter whose every pause after a write packet really waits: a save of two changed
// blocks then takes 1.6 s.
class SlowAdapter : public EmulatedAdapter {
public:
    void Pause10ms() override
    {
        ::Sleep(400);
        EmulatedAdapter::Pause10ms();
    }
};

TEST_F(ConfigDlgTest, WindowAnswersTheSystemWhileItWritesToTheAdapter)
{
    SlowAdapter slow;
    RecordOfSlot(slow.Memory(), 0)->name[0] = 'G';
    HeaderOfImage(slow.Memory()).used[0] = kSlotUsed;
    HeaderOfImage(slow.Memory()).activeProfile = 0;
    ProgressPort port(slow, [](unsigned) { AnswerPendingMessages(); });
    TestConfigDlg saving(port, lock, layout);
    TestApp().m_pMainWnd = &saving;
    AnswerProbe probe;
    ModalScript edited;
    edited.Then([&] {
        MSG press = {::GetDlgItem(saving.m_hWnd, IDC_KEY_A), WM_KEYDOWN, 'Q', KeyMessageParam(0x10, false), 0, {}};
        EXPECT_TRUE(saving.PreTranslateMessage(&press));
        probe.Start(200);
        ::PostMessageA(saving.m_hWnd, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(edited.Run(saving), IDOK);
    probe.ExpectAnswered();
    EXPECT_EQ(RecordOfSlot(slow.Memory(), 0)->keySlots[3], KeyCodeFromName("Q"));
}

struct EndSessionQuestion {
    HWND window;
    DWORD_PTR answer = TRUE;
};

DWORD WINAPI AskFromAnotherThread(void* asked)
{
    auto* question = static_cast<EndSessionQuestion*>(asked);
    ::SendMessageTimeoutW(question->window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                          &question->answer);
    return 0;
}

// Asks `window` whether the session may end, from another thread as Windows does when the
// user signs out or restarts, answering this thread's messages until the answer comes.
LRESULT AskToEndSession(HWND window)
{
    EndSessionQuestion question{window};
    HANDLE asker = ::CreateThread(nullptr, 0, AskFromAnotherThread, &question, 0, nullptr);
    WaitAnsweringMessages(asker, 10000);
    ::CloseHandle(asker);
    return static_cast<LRESULT>(question.answer);
}

// Signing out in the middle of OK's write would leave a record half written or new
// records under the old header: the window says no, with its reason, until the write ends.
TEST_F(ConfigDlgTest, SessionWaitsForTheWriteToEnd)
{
    EmulatedAdapter written;
    RecordOfSlot(written.Memory(), 0)->name[0] = 'G';
    HeaderOfImage(written.Memory()).used[0] = kSlotUsed;
    HeaderOfImage(written.Memory()).activeProfile = 0;
    HWND window = nullptr;
    LRESULT answerWhileWriting = TRUE;
    ProgressPort port(written, [&](unsigned pauses) {
        if (pauses == 1) answerWhileWriting = AskToEndSession(window);  // between a block's halves
    });
    TestConfigDlg saving(port, lock, layout);
    TestApp().m_pMainWnd = &saving;
    ModalScript edited;
    edited.Then([&] {
        window = saving.m_hWnd;
        EXPECT_NE(AskToEndSession(window), FALSE) << "nothing is being written";
        ::SendMessageA(::GetDlgItem(window, IDC_AXIS_MODE), BM_CLICK, 0, 0);
        ::PostMessageA(window, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(edited.Run(saving), IDOK);
    EXPECT_EQ(answerWhileWriting, FALSE);
    EXPECT_EQ(saving.m_sessionEndReasons, (std::vector<std::wstring>{AfxLoadString(IDS_WRITING_REASON), L""}));
    EXPECT_EQ(RecordOfSlot(written.Memory(), 0)->axisMode, 1);
}

TEST_F(ConfigDlgTest, FailedHeaderReadLeavesEditingOffButClicksReachTheControls)
{
    UseSlot(0, "Game");
    adapter.FailTransfer(1);  // the header's first packet
    script.Then([&] {
              EXPECT_EQ(ListCount(), 0);
              for (int id : {IDC_ADD, IDC_DELETE, IDC_USE, IDOK}) EXPECT_FALSE(::IsWindowEnabled(Item(id))) << id;
              EXPECT_FALSE(::IsWindowVisible(Item(IDC_USB)));
              ClickAt(Item(IDC_AXIS_MODE));
          })
        .Then([&] {
            EXPECT_TRUE(Checked(IDC_AXIS_MODE));  // the adapter is there, so clicks count
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(ConfigDlgTest, BusyAdapterAtLoadIsSaidAndLeavesEditingOff)
{
    UseSlot(0, "Game");
    lock.busy = true;
    std::wstring message;
    script
        .Then([&] {
            // Over the window, once it shows, centred on it.
            HWND box = FindModalDialog();
            EXPECT_EQ(::GetWindow(box, GW_OWNER), dialog.m_hWnd);
            EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));
            const POINT boxCentre = Centre(box), windowCentre = Centre(dialog.m_hWnd);
            EXPECT_NEAR(boxCentre.x, windowCentre.x, 1);
            EXPECT_NEAR(boxCentre.y, windowCentre.y, 1);
            message = AnswerMessageBox(IDOK);
        })
        .Then([&] {
            EXPECT_EQ(ListCount(), 0);
            for (int id : {IDC_ADD, IDC_DELETE, IDC_USE, IDOK}) EXPECT_FALSE(::IsWindowEnabled(Item(id))) << id;
            Close(IDCANCEL);
        });
    Run();
    EXPECT_NE(message.find(AfxLoadString(IDS_LOAD_BUSY)), std::wstring::npos) << message;
    EXPECT_EQ(adapter.TransferCount(), 0u);
}

TEST_F(ConfigDlgTest, FullListStartsWithAddDisabled)
{
    for (int slot = 0; slot < kSlotCount; ++slot) UseSlot(slot, "Game");
    script.Then([&] {
        EXPECT_EQ(ListCount(), kSlotCount);
        EXPECT_FALSE(::IsWindowEnabled(Item(IDC_ADD)));
        Close(IDCANCEL);
    });
    Run();
}

// Two profiles: the edits happen in the first, selecting the second stores them.
class RecordEditingTest : public ConfigDlgTest {
protected:
    RecordEditingTest()
    {
        UseSlot(0, "Edited");
        UseSlot(1, "Other");
        Header().activeProfile = 0;
    }

    void SelectRow(int row)
    {
        ::SendMessageA(List(), LB_SETCURSEL, row, 0);
        ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_PROFILE_LIST, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(List()));
    }
    // Stores the first profile by moving to the second, then shows it again.
    void StoreAndShowFirstAgain()
    {
        dialog.m_bModified = 1;
        SelectRow(1);
        SelectRow(0);
    }
    ProfileRecord& Stored() { return *RecordOfSlot(dialog.m_link.Records(), 0); }
};

TEST_F(RecordEditingTest, StickKeysMoveBetweenSlotSetsWithTheAxisMode)
{
    ProfileRecord& record = Record(0);
    record.axisMode = 1;
    record.keySlots[10] = KeyCodeFromName("A");
    record.keySlots[13] = KeyCodeFromName("S");
    record.keySlots[23] = KeyCodeFromName("Ctrl");
    script.Then([&] {
        EXPECT_EQ(ItemText(IDC_KEY_STICK_LEFT), "A");
        EXPECT_EQ(ItemText(IDC_KEY_STICK_DOWN), "S");
        EXPECT_EQ(ItemText(IDC_KEY_RINGED_ROUND), "Ctrl");
        EXPECT_TRUE(Checked(IDC_AXIS_MODE));
        ::CheckDlgButton(dialog.m_hWnd, IDC_AXIS_MODE, BST_UNCHECKED);
        StoreAndShowFirstAgain();
        EXPECT_EQ(Stored().axisMode, 0);
        EXPECT_EQ(Stored().keySlots[10], 0);
        EXPECT_EQ(Stored().keySlots[19], KeyCodeFromName("A"));
        EXPECT_EQ(Stored().keySlots[22], KeyCodeFromName("S"));
        EXPECT_EQ(Stored().keySlots[23], KeyCodeFromName("Ctrl"));
        EXPECT_EQ(ItemText(IDC_KEY_STICK_LEFT), "A");
        EXPECT_EQ(ItemText(IDC_KEY_STICK_DOWN), "S");
        EXPECT_EQ(Header().used[0], kSlotUsed);
        Close(IDCANCEL);
    });
    Run();
}

TEST_F(RecordEditingTest, AxisByteOtherThanZeroOrOneShowsPlainKeysAndStoresOne)
{
    Record(0).axisMode = 7;
    Record(0).keySlots[19] = KeyCodeFromName("A");
    script.Then([&] {
        EXPECT_TRUE(Checked(IDC_AXIS_MODE));
        EXPECT_EQ(ItemText(IDC_KEY_STICK_LEFT), "A");
        StoreAndShowFirstAgain();
        EXPECT_EQ(Stored().axisMode, 1);
        EXPECT_EQ(Stored().keySlots[10], KeyCodeFromName("A"));
        EXPECT_EQ(Stored().keySlots[19], 0);
        Close(IDCANCEL);
    });
    Run();
}

TEST_F(RecordEditingTest, AKeyIsStoredByItsCodeAndTextTypedIntoABoxIsNoKey)
{
    Record(0).keySlots[5] = KeyCodeFromName("W");
    script.Then([&] {
        SetKeyBox(IDC_KEY_A, "-");
        EXPECT_EQ(ItemText(IDC_KEY_A), "-") << "the key pressed";
        ::SetWindowTextA(Item(IDC_KEY_B), "not a key");
        ::SetWindowTextA(Item(IDC_KEY_X), "Q");
        SetKeyBox(IDC_COMBO_KEY, "Alt");
        EXPECT_EQ(ItemText(IDC_KEY_B), "");
        EXPECT_EQ(ItemText(IDC_KEY_X), "W");
        StoreAndShowFirstAgain();
        EXPECT_EQ(Stored().keySlots[3], KeyCodeFromName("-"));
        EXPECT_EQ(ItemText(IDC_KEY_A), "Num -") << "the first key of the code the adapter holds";
        EXPECT_EQ(Stored().keySlots[4], 0);
        EXPECT_EQ(Stored().keySlots[5], KeyCodeFromName("W"));
        EXPECT_EQ(Stored().comboKey, KeyCodeFromName("Alt"));
        EXPECT_EQ(ItemText(IDC_COMBO_KEY), "Alt");
        Close(IDCANCEL);
    });
    Run();
}

TEST_F(RecordEditingTest, CombinationWithNoButtonStoresL1)
{
    Record(0).comboButtons = 0x81;
    script.Then([&] {
        EXPECT_TRUE(Checked(IDC_COMBO_FIRST + kPadL1));
        EXPECT_TRUE(Checked(IDC_COMBO_FIRST + kPadR1));
        ::CheckDlgButton(dialog.m_hWnd, IDC_COMBO_FIRST + kPadL1, BST_UNCHECKED);
        ::CheckDlgButton(dialog.m_hWnd, IDC_COMBO_FIRST + kPadR1, BST_UNCHECKED);
        StoreAndShowFirstAgain();
        EXPECT_EQ(Stored().comboButtons, 1);
        EXPECT_TRUE(Checked(IDC_COMBO_FIRST + kPadL1));
        Close(IDCANCEL);
    });
    Run();
}

TEST_F(RecordEditingTest, SpeedOutsideTheRangeIsStoredAsTheNearestEnd)
{
    Record(0).speed = 0;
    Record(1).speed = 200;
    script.Then([&] {
        EXPECT_EQ(dialog.m_sliderSpeed.GetPos(), kMinSpeed);
        SelectRow(1);
        EXPECT_EQ(dialog.m_sliderSpeed.GetPos(), kMaxSpeed);
        dialog.m_bModified = 1;
        SelectRow(0);
        EXPECT_EQ(RecordOfSlot(dialog.m_link.Records(), 1)->speed, kMaxSpeed);
        StoreAndShowFirstAgain();
        EXPECT_EQ(Stored().speed, kMinSpeed);
        Close(IDCANCEL);
    });
    Run();
}

TEST_F(RecordEditingTest, MouseByteOutsideTheRowChecksNothingAndIsKept)
{
    Record(0).mouseButtons[kMouseRight] = 9;  // 1026 + 9 would be a button of the left row
    Record(0).mouseButtons[kMouseLeft] = kPadX;
    script.Then([&] {
        for (int button = 0; button < kPadButtonCount; ++button)
            EXPECT_FALSE(Checked(IDC_RIGHT_FIRST + button)) << button;
        EXPECT_TRUE(Checked(IDC_LEFT_FIRST + kPadX));
        EXPECT_FALSE(Checked(IDC_LEFT_FIRST + 1));
        StoreAndShowFirstAgain();
        EXPECT_EQ(Stored().mouseButtons[kMouseRight], 9);
        EXPECT_EQ(Stored().mouseButtons[kMouseLeft], kPadX);
        Close(IDCANCEL);
    });
    Run();
}

TEST_F(RecordEditingTest, OkWritesTheEditedImageWithTheHeaderLast)
{
    Record(0).keptTail[3] = 0xA5;
    std::vector<uint8_t> expected;
    script.Then([&] {
        SetKeyBox(IDC_KEY_A, "Q");
        dialog.m_bModified = 1;
        expected.assign(dialog.m_link.Records(), dialog.m_link.Records() + kRecordBufferSize);
        RecordOfSlot(expected.data(), 0)->keySlots[3] = KeyCodeFromName("Q");
        Close(IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(std::vector<uint8_t>(adapter.Memory(), adapter.Memory() + kRecordBufferSize), expected);
    EXPECT_EQ(Record(0).keptTail[3], 0xA5);
    EXPECT_EQ(Header().activeProfile, 0);
}

// The key boxes of a key that another key box of the shown profile holds too are drawn
// in the warning colour with a warning sign beside them, for as long as the repetition
// lasts; the combination's key takes no part.
// Whether a window shows red: the warning colour, also where smoothing blends the text's
// thin strokes with the white around them.
bool ShowsRedText(HWND hWnd)
{
    ::UpdateWindow(hWnd);
    RECT client;
    ::GetClientRect(hWnd, &client);
    HDC dc = ::GetDC(hWnd);
    bool found = false;
    for (int y = 0; y < client.bottom && !found; ++y)
        for (int x = 0; x < client.right && !found; ++x) {
            const COLORREF pixel = ::GetPixel(dc, x, y);
            found = GetRValue(pixel) >= 0x90 && GetGValue(pixel) < GetRValue(pixel) / 2 && GetBValue(pixel) < GetRValue(pixel) / 2;
        }
    ::ReleaseDC(hWnd, dc);
    return found;
}

TEST_F(RecordEditingTest, KeyBoxesOfARepeatedKeyAreMarkedWhileTheRepetitionLasts)
{
    constexpr COLORREF kRepeatedKeyColour = 0x0000C0;
    // X and Y: the focus and its selection are on A.
    Record(0).keySlots[5] = KeyCodeFromName("Q");  // X
    Record(0).comboKey = KeyCodeFromName("Q");
    Record(1).keySlots[5] = KeyCodeFromName("E");
    Record(1).keySlots[6] = KeyCodeFromName("E");  // Y
    auto withSign = [&](int id) { return RectShowsColour(dialog.m_hWnd, BesideBox(dialog.m_hWnd, Item(id)), kRepeatedKeyColour); };
    auto coloured = [&](int id) { return ShowsRedText(Item(id)); };
    auto marked = [&](int id) {
        EXPECT_EQ(coloured(id), withSign(id)) << id;
        return coloured(id) && withSign(id);
    };
    script
        .Then([&] {
            EXPECT_FALSE(marked(IDC_KEY_X));
            EXPECT_FALSE(marked(IDC_COMBO_KEY));
            SetKeyBox(IDC_KEY_Y, "Q");
        })
        .Then([&] {
            EXPECT_TRUE(marked(IDC_KEY_X));
            EXPECT_TRUE(marked(IDC_KEY_Y));
            EXPECT_FALSE(marked(IDC_COMBO_KEY));
            SetKeyBox(IDC_KEY_X, "R");
        })
        .Then([&] {
            EXPECT_FALSE(marked(IDC_KEY_X));
            EXPECT_FALSE(marked(IDC_KEY_Y));
            SelectRow(1);
        })
        .Then([&] {
            EXPECT_TRUE(marked(IDC_KEY_X));
            EXPECT_TRUE(marked(IDC_KEY_Y));
            SelectRow(0);
        })
        .Then([&] {
            EXPECT_FALSE(marked(IDC_KEY_X));
            EXPECT_FALSE(marked(IDC_KEY_Y));
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(RecordEditingTest, CancelWritesNothing)
{
    const std::vector<uint8_t> before(adapter.Memory(), adapter.Memory() + kImageSize);
    unsigned transfersAfterLoad = 0;
    script.Then([&] {
        transfersAfterLoad = adapter.TransferCount();
        SetKeyBox(IDC_KEY_A, "Q");
        dialog.m_bModified = 1;
        SelectRow(1);
        Close(IDCANCEL);
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(adapter.TransferCount(), transfersAfterLoad);
    EXPECT_EQ(std::vector<uint8_t>(adapter.Memory(), adapter.Memory() + kImageSize), before);
}

TEST_F(RecordEditingTest, OkWithoutAChangeReadsTheAdapterWritesNothingAndCloses)
{
    unsigned transfersAfterLoad = 0;
    script.Then([&] {
        transfersAfterLoad = adapter.TransferCount();
        Close(IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(adapter.TransferCount(), transfersAfterLoad + 4 * kBlockCount) << "the check before the save only";
}

// What makes the first OK fail: the adapter unplugged since the load, busy with another
// program, a failing read of the check before the save, a write that fails in the header
// after the changed record and again in the second record of the whole write that
// follows, or a block that does not read back as written, either time.
enum class SaveFault { kUnplugged, kBusy, kCheckFails, kWriteFails, kReadBackFails };

// Reading or writing the whole image takes 4 transfers a block. OK reads it first, then
// writes the blocks that changed, here a record and the header, and reads every block
// back; when that fails, it writes and reads back the whole image.
constexpr unsigned kImageTransfers = 4 * kBlockCount;
constexpr unsigned kChangeTransfers = 4 * 2;

class FailedOkTest : public RecordEditingTest, public ::testing::WithParamInterface<SaveFault> {
protected:
    void BreakTheNextSave()
    {
        const unsigned changes = adapter.TransferCount() + kImageTransfers;
        switch (GetParam()) {
        case SaveFault::kUnplugged: adapter.SetPresent(false); break;
        case SaveFault::kBusy: lock.busy = true; break;
        case SaveFault::kCheckFails: adapter.FailTransfer(changes - kImageTransfers + 3); break;
        case SaveFault::kWriteFails:
            adapter.FailTransfer(changes + 7);
            adapter.FailTransfer(changes + 7 + 7);
            break;
        case SaveFault::kReadBackFails:
            adapter.FailTransfer(changes + kChangeTransfers + 2);
            adapter.FailTransfer(changes + kChangeTransfers + 2 * kImageTransfers + 2);
            break;
        }
    }
    void Mend()
    {
        adapter.SetPresent(true);
        lock.busy = false;
    }
    std::wstring ExpectedMessage() const { return AfxLoadString(GetParam() == SaveFault::kBusy ? IDS_SAVE_BUSY : IDS_SAVE_FAILED); }
};

TEST_P(FailedOkTest, KeepsTheWindowAndItsEditsSaysSoAndCanBeTriedAgain)
{
    std::vector<uint8_t> expected(adapter.Memory(), adapter.Memory() + kImageSize);
    RecordOfSlot(expected.data(), 0)->keySlots[3] = KeyCodeFromName("Q");
    RecordOfSlot(expected.data(), 0)->comboButtons |= 1u << kPadR1;
    std::wstring message;
    script
        .Then([&] {
            ::SetFocus(Item(IDC_KEY_A));
            PressKey('Q');
        })
        .Then([&] {
            BreakTheNextSave();
            Close(IDOK);
        })
        .Then([&] { message = AnswerMessageBox(IDOK); })
        .Then([&] {
            EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));
            EXPECT_EQ(ItemText(IDC_KEY_A), "Q");
            EXPECT_TRUE(::IsWindowEnabled(Item(IDOK)));
            ClickAt(Item(IDC_COMBO_FIRST + kPadR1));  // the window still takes clicks
        })
        .Then([&] {
            Mend();
            Close(IDOK);
        });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_NE(message.find(ExpectedMessage()), std::wstring::npos) << message;
    EXPECT_EQ(std::vector<uint8_t>(adapter.Memory(), adapter.Memory() + kImageSize), expected);
}

void PrintTo(SaveFault fault, std::ostream* out)
{
    const char* const names[] = {"Unplugged", "Busy", "CheckFails", "WriteFails", "ReadBackFails"};
    *out << names[static_cast<int>(fault)];
}

INSTANTIATE_TEST_SUITE_P(AnyFault, FailedOkTest,
                         ::testing::Values(SaveFault::kUnplugged, SaveFault::kBusy, SaveFault::kCheckFails,
                                           SaveFault::kWriteFails, SaveFault::kReadBackFails));

// Another program writes to the adapter while the window is open: OK asks before it writes
// over that; "No" writes nothing and keeps the window with its edits, "Yes" writes.
TEST_F(RecordEditingTest, OkAsksBeforeOverwritingWhatAnotherProgramWrote)
{
    std::vector<uint8_t> theirs, expected;
    std::wstring question;
    auto answer = [&](int button) { question = AnswerMessageBox(button); };
    script
        .Then([&] {
            SetKeyBox(IDC_KEY_A, "Q");
            dialog.m_bModified = 1;
            Record(1).speed = 99;  // the other program's change, in a profile the window does not edit
            theirs.assign(adapter.Memory(), adapter.Memory() + kImageSize);
            Close(IDOK);
        })
        .Then([&] { answer(IDNO); })
        .Then([&] {
            EXPECT_EQ(std::vector<uint8_t>(adapter.Memory(), adapter.Memory() + kImageSize), theirs);
            EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));
            EXPECT_EQ(ItemText(IDC_KEY_A), "Q");
            expected = dialog.m_link.Image();
            RecordOfSlot(expected.data(), 0)->keySlots[3] = KeyCodeFromName("Q");
            Close(IDOK);
        })
        .Then([&] { answer(IDYES); });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_NE(question.find(AfxLoadString(IDS_OVERWRITE_QUESTION)), std::wstring::npos) << question;
    EXPECT_EQ(std::vector<uint8_t>(adapter.Memory(), adapter.Memory() + kImageSize), expected);
    EXPECT_NE(Record(1).speed, 99);
}

// A save that failed before it sent a half leaves the adapter as it was: what another
// program writes there afterwards is asked about, even where it equals the failed save's.
TEST_F(RecordEditingTest, AfterAFailedSaveOnlyTheHalvesItSentCountAsItsOwn)
{
    std::wstring question;
    script
        .Then([&] {
            SelectRow(1);
            dialog.UseProfile();
            const unsigned save = adapter.TransferCount() + kImageTransfers;
            adapter.FailTransfer(save + 1);  // the first packet of the header, the only block that changed
            adapter.FailTransfer(save + 2);  // and of the whole write that follows
            Close(IDOK);
        })
        .Then([&] {
            AnswerMessageBox(IDOK);
            Header().activeProfile = 1;  // another program makes the second profile active
        })
        .Then([&] {
            SelectRow(0);
            dialog.UseProfile();
            Close(IDOK);
        })
        .Then([&] {
            question = AnswerMessageBox(IDNO);
            EXPECT_EQ(Header().activeProfile, 1);
            Close(IDCANCEL);
        });
    Run();
    EXPECT_NE(question.find(AfxLoadString(IDS_OVERWRITE_QUESTION)), std::wstring::npos) << question;
}

// A record that a failed save wrote before the header failed, in that save and in the whole
// write that followed, is the window's own: edited again, it is written without a question.
TEST_F(RecordEditingTest, ARecordThatAFailedSaveWroteIsItsOwnWhenEditedAgain)
{
    std::vector<uint8_t> expected;
    script
        .Then([&] {
            SetKeyBox(IDC_KEY_A, "Q");
            dialog.m_bModified = 1;
            const unsigned save = adapter.TransferCount() + kImageTransfers;
            adapter.FailTransfer(save + 5);  // the header's first packet, after record 0
            adapter.FailTransfer(save + 6);  // the first packet of the whole write
            Close(IDOK);
        })
        .Then([&] {
            AnswerMessageBox(IDOK);
            EXPECT_EQ(Record(0).keySlots[3], KeyCodeFromName("Q"));
            SetKeyBox(IDC_KEY_A, "W");
            dialog.m_bModified = 1;
            expected = dialog.m_link.Image();
            RecordOfSlot(expected.data(), 0)->keySlots[3] = KeyCodeFromName("W");
            Close(IDOK);
        });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(std::vector<uint8_t>(adapter.Memory(), adapter.Memory() + kImageSize), expected);
}

TEST_F(ConfigDlgTest, OkWithOneProfileMakesItActiveAndWithNoneWritesNone)
{
    UseSlot(4, "Single");
    Header().activeProfile = kNoActiveProfile;
    script.Then([&] { Close(IDOK); });
    Run();
    EXPECT_EQ(Header().activeProfile, 4);

    Header().used[4] = 0;
    TestConfigDlg empty(adapter, lock, layout);
    TestApp().m_pMainWnd = &empty;
    ModalScript closing;
    closing.Then([&] { ::PostMessageA(empty.m_hWnd, WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(closing.Run(empty), IDOK);
    EXPECT_EQ(Header().activeProfile, kNoActiveProfile);
}

// The window at the display's scale. Runs at the prefix's system DPI, and once more at
// 144 DPI on its own (VANTOR_TEST_DPI names the DPI that run must have).
class WindowScaleTest : public ConfigDlgTest {
protected:
    explicit WindowScaleTest(DpiForWindowFunction dpiForWindow = SystemDpiForWindow()) : ConfigDlgTest(dpiForWindow) {}

    static UINT SystemDpi()
    {
        HDC screen = ::GetDC(nullptr);
        const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        return static_cast<UINT>(dpi);
    }
    static SIZE BitmapSize(HANDLE bitmap)
    {
        BITMAP info = {};
        ::GetObjectA(bitmap, sizeof info, &info);
        return {info.bmWidth, info.bmHeight};
    }
    static SIZE Scaled(SIZE drawn, UINT dpi) { return {MulDiv(drawn.cx, dpi, 96), MulDiv(drawn.cy, dpi, 96)}; }
    static bool IsPictureControl(HWND hWnd)
    {
        char className[16] = {};
        ::GetClassNameA(hWnd, className, sizeof className);
        return std::string(className) == "Static" && (::GetWindowLongA(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP;
    }
    // The 100 % size of a picture control's bitmap: the pad pictures are 24 x 24 pixels.
    static SIZE DrawnSize(HWND picture)
    {
        switch (::GetDlgCtrlID(picture)) {
        case IDC_USB: return {32, 22};
        case IDC_LOGO: return {122, 60};
        default: return {24, 24};
        }
    }

    // Every picture control and matrix button holds a bitmap of its 100 % size at `dpi`,
    // and a picture control is exactly as large as its bitmap.
    void ExpectPicturesAt(UINT dpi) const
    {
        int pictures = 0;
        for (HWND child = ::GetWindow(dialog.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (!IsPictureControl(child)) continue;
            ++pictures;
            const SIZE expected = Scaled(DrawnSize(child), dpi);
            const SIZE bitmap = BitmapSize(reinterpret_cast<HANDLE>(::SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0)));
            EXPECT_EQ(bitmap.cx, expected.cx) << "picture " << pictures;
            EXPECT_EQ(bitmap.cy, expected.cy) << "picture " << pictures;
            RECT shown;
            ::GetClientRect(child, &shown);
            EXPECT_EQ(shown.right, bitmap.cx) << "picture " << pictures;
            EXPECT_EQ(shown.bottom, bitmap.cy) << "picture " << pictures;
        }
        EXPECT_EQ(pictures, 22);
        for (int first : {IDC_COMBO_FIRST, IDC_RIGHT_FIRST, IDC_LEFT_FIRST, IDC_MIDDLE_FIRST}) {
            for (int column = 0; column < kPadButtonCount; ++column) {
                const SIZE bitmap = BitmapSize(reinterpret_cast<HANDLE>(
                    ::SendDlgItemMessageA(dialog.m_hWnd, first + column, BM_GETIMAGE, IMAGE_BITMAP, 0)));
                EXPECT_EQ(bitmap.cx, Scaled({24, 24}, dpi).cx) << first + column;
                EXPECT_EQ(bitmap.cy, Scaled({24, 24}, dpi).cy) << first + column;
            }
        }
    }
    int RowHeight() const { return static_cast<int>(::SendMessageA(List(), LB_GETITEMHEIGHT, 0, 0)); }
    // No control reaches past the window's client area.
    void ExpectEveryControlInside() const
    {
        RECT client;
        ::GetClientRect(dialog.m_hWnd, &client);
        for (HWND child = ::GetWindow(dialog.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            RECT control;
            ::GetWindowRect(child, &control);
            ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&control), 2);
            EXPECT_TRUE(control.left >= 0 && control.top >= 0 && control.right <= client.right &&
                        control.bottom <= client.bottom)
                << ::GetDlgCtrlID(child) << " " << TextOf(child) << " ends at " << control.right << ","
                << control.bottom << " in " << client.right << "," << client.bottom;
        }
    }
};

// The window opens at the system's scale through its own DPI (Windows 10 1607 on) and
// through the screen's alone, as on older Windows, which has no DPI per window.
enum class ScaleSource { kWindowDpi, kScreenDpiAlone };

const char* NameOf(ScaleSource source) { return source == ScaleSource::kWindowDpi ? "WindowDpi" : "ScreenDpiAlone"; }
void PrintTo(ScaleSource source, std::ostream* out) { *out << NameOf(source); }

class WindowScaleAtOpenTest : public WindowScaleTest, public ::testing::WithParamInterface<ScaleSource> {
protected:
    WindowScaleAtOpenTest() : WindowScaleTest(GetParam() == ScaleSource::kWindowDpi ? SystemDpiForWindow() : nullptr) {}
};

TEST_P(WindowScaleAtOpenTest, PicturesAreDrawnForTheSystemDpiAndEveryControlFits)
{
    UseSlot(0, "Game");
    Header().activeProfile = 0;
    const UINT dpi = SystemDpi();
    if (const char* expected = std::getenv("VANTOR_TEST_DPI")) {
        ASSERT_EQ(dpi, std::strtoul(expected, nullptr, 10));
    }
    script.Then([&] {
        ExpectPicturesAt(dpi);
        ExpectEveryControlInside();
        HWND list = List();
        HDC dc = ::GetDC(list);
        HGDIOBJ before = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(list, WM_GETFONT, 0, 0)));
        TEXTMETRICA font;
        ::GetTextMetricsA(dc, &font);
        ::SelectObject(dc, before);
        ::ReleaseDC(list, dc);
        EXPECT_GE(RowHeight(), font.tmHeight);
        Close(IDCANCEL);
    });
    Run();
}

INSTANTIATE_TEST_SUITE_P(EachWindows, WindowScaleAtOpenTest,
                         ::testing::Values(ScaleSource::kWindowDpi, ScaleSource::kScreenDpiAlone),
                         [](const ::testing::TestParamInfo<ScaleSource>& info) { return NameOf(info.param); });

TEST_F(WindowScaleTest, MoveToAScreenOfAnotherScaleTakesTheSuggestedPlaceAndRedrawsThePictures)
{
    const UINT dpi = SystemDpi();
    script.Then([&] {
        const int rowHeight = RowHeight();
        RECT suggested;
        ::GetWindowRect(dialog.m_hWnd, &suggested);
        ::OffsetRect(&suggested, 10, 20);
        ::SendMessageA(dialog.m_hWnd, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
        ExpectPicturesAt(192);
        EXPECT_EQ(RowHeight(), MulDiv(rowHeight, 192, dpi));
        RECT now;
        ::GetWindowRect(dialog.m_hWnd, &now);
        EXPECT_TRUE(::EqualRect(&now, &suggested));
        // Back, and to a scale that has no drawing of its own.
        ::SendMessageA(dialog.m_hWnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        ExpectPicturesAt(dpi);
        EXPECT_EQ(RowHeight(), rowHeight);
        ::SendMessageA(dialog.m_hWnd, WM_DPICHANGED, MAKEWPARAM(168, 168), reinterpret_cast<LPARAM>(&suggested));
        ExpectPicturesAt(168);
        Close(IDCANCEL);
    });
    Run();
}

}  // namespace
