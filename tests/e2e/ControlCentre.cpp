// Prints the screen position of a control's centre, so that a script can click it with
// real X input: control_centre.exe "WINDOW TITLE" CONTROL-ID [ROW]
// With ROW, the control is a list box and the centre of that row is printed; a row the
// list does not hold fails.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3) return 2;
    HWND window = FindWindowA(nullptr, argv[1]);
    HWND control = window ? GetDlgItem(window, std::atoi(argv[2])) : nullptr;
    if (!control) return 1;
    RECT rect;
    if (argc > 3) {
        const int row = std::atoi(argv[3]);
        if (row >= SendMessageA(control, LB_GETCOUNT, 0, 0)) return 1;
        SendMessageA(control, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    } else {
        GetWindowRect(control, &rect);
    }
    std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return 0;
}
