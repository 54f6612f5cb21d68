/* A Windows stand-in for Korvix, run under Wine by the host tests and the demo. It behaves as
 * Parvane expects of Korvix: caption "Korvix" while idle; Alt+F opens the "Fichier" menu, whose
 * "G" item shows the first stock of the base in the current folder with the caption
 * "Korvix - <base> - <stock>"; Page Down (or the right arrow, or the space bar) steps to the next
 * stock, Page Up back. "Fichier", "Quitter" ends it.
 *
 * The stocks are the names of the history files "<base>\base\histo\<name>_<code>.txt", in
 * ascending order. Every key received, the current folder and each caption shown are logged to
 * "korvix-keys.log" in the folder named by KORVIX_STANDIN_LOG, one line each, led by the time in
 * milliseconds since 1970. With KORVIX_STANDIN_NO_WINDOW set, it never shows a window and ends
 * after a minute (a Korvix stuck at start). With KORVIX_STANDIN_REFUSE_FOCUS set, its window shows
 * but cannot be activated: Wine then declines the keyboard focus that a window manager offers it,
 * and a click or an activation request leaves the focus where it was. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { kMaxStocks = 512, kNameSize = 128, kGroupCommand = 100, kQuitCommand = 101 };

static char g_stocks[kMaxStocks][kNameSize];
static int g_stockCount;
static int g_current = -1;
static char g_base[MAX_PATH];
static FILE *g_log;
static int g_refuseFocus;

static long long unixMilliseconds(void)
{
    FILETIME now;
    ULARGE_INTEGER ticks;
    GetSystemTimeAsFileTime(&now);
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    /* FILETIME counts 100 ns steps since 1601. */
    return (long long)(ticks.QuadPart / 10000ULL) - 11644473600000LL;
}

static void logLine(const char *text)
{
    if (!g_log)
        return;
    fprintf(g_log, "%lld %s\n", unixMilliseconds(), text);
    fflush(g_log);
}

static void openLog(void)
{
    char folder[MAX_PATH];
    char file[MAX_PATH + 32];
    DWORD length = GetEnvironmentVariableA("KORVIX_STANDIN_LOG", folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return;
    /* A Unix path reaches a Windows program as is; Wine's drive Z: is the Unix root. */
    snprintf(file, sizeof file, "%s%s\\korvix-keys.log", folder[0] == '/' ? "Z:" : "", folder);
    g_log = fopen(file, "ab");
}

static int compareNames(const void *a, const void *b)
{
    return strcmp((const char *)a, (const char *)b);
}

static void readStocks(void)
{
    char pattern[MAX_PATH + 32];
    WIN32_FIND_DATAA found;
    HANDLE search;
    snprintf(pattern, sizeof pattern, "%s\\base\\histo\\*.txt", g_base);
    search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        char *cut;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || g_stockCount == kMaxStocks)
            continue;
        lstrcpynA(g_stocks[g_stockCount], found.cFileName, kNameSize);
        cut = strchr(g_stocks[g_stockCount], '_');
        if (!cut)
            cut = strrchr(g_stocks[g_stockCount], '.');
        if (cut)
            *cut = '\0';
        ++g_stockCount;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    qsort(g_stocks, (size_t)g_stockCount, kNameSize, compareNames);
}

static void showCaption(HWND window)
{
    char caption[kNameSize + MAX_PATH + 32];
    const char *label = strrchr(g_base, '\\');
    if (g_current < 0)
        snprintf(caption, sizeof caption, "Korvix");
    else
        snprintf(caption, sizeof caption, "Korvix - %s - %s", label ? label + 1 : g_base,
                 g_stocks[g_current]);
    SetWindowTextA(window, caption);
    InvalidateRect(window, NULL, TRUE);
    {
        char line[sizeof caption + 16];
        snprintf(line, sizeof line, "caption %s", caption);
        logLine(line);
    }
}

static void step(HWND window, int by)
{
    int next = g_current + by;
    if (g_current < 0 || next < 0 || next >= g_stockCount)
        return;
    g_current = next;
    showCaption(window);
}

/* Logs the keys as they are taken from the queue, in the main loop and in the menu's own loop. */
static LRESULT CALLBACK logKeys(int code, WPARAM removal, LPARAM data)
{
    const MSG *message = (const MSG *)data;
    if (code == HC_ACTION && removal == PM_REMOVE
        && (message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN)) {
        char line[64];
        const unsigned key = (unsigned)message->wParam;
        snprintf(line, sizeof line, "key %s%s%s", GetKeyState(VK_CONTROL) < 0 ? "Ctrl+" : "",
                 (message->lParam & (1L << 29)) ? "Alt+" : "", GetKeyState(VK_SHIFT) < 0 ? "Shift+" : "");
        if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
            snprintf(line + strlen(line), sizeof line - strlen(line), "%c", (char)key);
        else
            snprintf(line + strlen(line), sizeof line - strlen(line), "0x%02X", key);
        logLine(line);
    }
    return CallNextHookEx(NULL, code, removal, data);
}

static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kGroupCommand && g_stockCount > 0) {
            g_current = 0;
            showCaption(window);
        } else if (LOWORD(wParam) == kQuitCommand) {
            DestroyWindow(window);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_NEXT || wParam == VK_RIGHT || wParam == VK_SPACE)
            step(window, 1);
        else if (wParam == VK_PRIOR || wParam == VK_LEFT)
            step(window, -1);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        RECT area;
        char text[kNameSize + 32];
        HDC dc = BeginPaint(window, &paint);
        GetClientRect(window, &area);
        snprintf(text, sizeof text, "%s", g_current < 0 ? "(aucune valeur)" : g_stocks[g_current]);
        DrawTextA(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_MOUSEACTIVATE:
        return g_refuseFocus ? MA_NOACTIVATE : DefWindowProcA(window, message, wParam, lParam);
    case WM_ACTIVATE:
        if (g_refuseFocus && LOWORD(wParam) != WA_INACTIVE) {
            /* Hands the activation back to the window that had it. */
            logLine("activation refused");
            SetActiveWindow((HWND)lParam);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_DESTROY:
        logLine("quit");
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    WNDCLASSA windowClass;
    HMENU bar;
    HMENU fichier;
    HWND window;
    MSG message;
    char line[MAX_PATH + 16];
    (void)previous;
    (void)commandLine;

    openLog();
    GetCurrentDirectoryA(sizeof g_base, g_base);
    snprintf(line, sizeof line, "start %lu", (unsigned long)GetCurrentProcessId());
    logLine(line);
    snprintf(line, sizeof line, "cwd %s", g_base);
    logLine(line);
    if (GetEnvironmentVariableA("KORVIX_STANDIN_NO_WINDOW", NULL, 0) > 0) {
        Sleep(60000);
        return 0;
    }
    readStocks();
    g_refuseFocus = GetEnvironmentVariableA("KORVIX_STANDIN_REFUSE_FOCUS", NULL, 0) > 0;

    memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "KorvixStandin";
    RegisterClassA(&windowClass);

    fichier = CreatePopupMenu();
    AppendMenuA(fichier, MF_STRING, kGroupCommand, "&Groupes...");
    AppendMenuA(fichier, MF_SEPARATOR, 0, NULL);
    AppendMenuA(fichier, MF_STRING, kQuitCommand, "&Quitter");
    bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)fichier, "&Fichier");

    window = CreateWindowExA(g_refuseFocus ? WS_EX_NOACTIVATE : 0, "KorvixStandin", "Korvix",
                             WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 400, NULL, bar, instance,
                             NULL);
    if (!window)
        return 1;
    SetWindowsHookExA(WH_GETMESSAGE, logKeys, NULL, GetCurrentThreadId());
    if (g_refuseFocus) {
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
    } else {
        ShowWindow(window, show == SW_HIDE ? SW_SHOWNORMAL : show);
        UpdateWindow(window);
        SetForegroundWindow(window);
    }
    logLine("shown");
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (g_log)
        fclose(g_log);
    return 0;
}
