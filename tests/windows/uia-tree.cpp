// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A window's accessibility tree as a screen reader on Windows reads it:
// through UI Automation, from the top-level window with the given title down,
// every element in the raw view, one line each:
//   depth TAB automation id TAB control type TAB name TAB value
// An id, type or name the element does not give is empty. The value is the
// Value pattern's text after "=", or "-" where the element has none, or "!"
// and the error in hex where asking failed (Wine 10 implements no Value
// property: "!80004001"). Texts are UTF-8, with backslash, tab, CR
// and LF written as \\, \t, \r and \n so that an element keeps to its line.
// Only UI Automation's flat client functions are used: they are what Wine
// answers.
//
// usage: uia-tree TITLE   (exit status 0: the whole tree printed; 1: not)

#include <windows.h>

#include <ole2.h>
#include <uiautomation.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <initializer_list>
#include <string>

namespace {

// The functions come from the DLL at run time: MinGW-w64 before 12 has no
// import library for them.
struct Uia
{
    decltype(&UiaNodeFromHandle) nodeFromHandle = nullptr;
    decltype(&UiaNavigate) navigate = nullptr;
    decltype(&UiaHUiaNodeFromVariant) nodeFromVariant = nullptr;
    decltype(&UiaGetPropertyValue) propertyValue = nullptr;
    decltype(&UiaNodeRelease) release = nullptr;

    bool load()
    {
        HMODULE dll = LoadLibraryW(L"uiautomationcore.dll");
        if (!dll)
            return false;
        resolve(dll, nodeFromHandle, "UiaNodeFromHandle");
        resolve(dll, navigate, "UiaNavigate");
        resolve(dll, nodeFromVariant, "UiaHUiaNodeFromVariant");
        resolve(dll, propertyValue, "UiaGetPropertyValue");
        resolve(dll, release, "UiaNodeRelease");
        return nodeFromHandle && navigate && nodeFromVariant && propertyValue && release;
    }

    template <typename Function>
    static void resolve(HMODULE dll, Function &function, const char *name)
    {
        function = reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddress(dll, name)));
    }
};

Uia uia;
std::string out;
int elements = 0;
// Far more than the panel has: a walk that goes on is a loop in the tree.
constexpr int kMaxElements = 2000;
constexpr int kMaxDepth = 32;

std::string escaped(const BSTR text)
{
    std::wstring escaped;
    // A null BSTR is an empty text.
    for (const wchar_t *c = text ? text : L""; *c; ++c) {
        const wchar_t *escape = *c == L'\\' ? L"\\\\"
                : *c == L'\t'               ? L"\\t"
                : *c == L'\r'               ? L"\\r"
                : *c == L'\n'               ? L"\\n"
                                            : nullptr;
        if (escape)
            escaped += escape;
        else
            escaped += *c;
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, escaped.data(), int(escaped.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, escaped.data(), int(escaped.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

// What an element answers for a property: the call's result and, where it
// gave a text or a number, that as text.
struct Answer
{
    HRESULT result = S_OK;
    bool given = false;
    std::string text;
};

Answer ask(HUIANODE node, PROPERTYID property)
{
    Answer answer;
    VARIANT value;
    VariantInit(&value);
    answer.result = uia.propertyValue(node, property, &value);
    if (SUCCEEDED(answer.result) && V_VT(&value) == VT_BSTR) {
        answer.given = true;
        answer.text = escaped(V_BSTR(&value));
    } else if (SUCCEEDED(answer.result) && V_VT(&value) == VT_I4) {
        answer.given = true;
        answer.text = std::to_string(V_I4(&value));
    }
    VariantClear(&value);
    return answer;
}

// The next element in `direction` from `node`, or null.
HUIANODE step(HUIANODE node, NavigateDirection direction, HRESULT &result)
{
    UiaCondition everything{ConditionType_True};
    UiaCacheRequest request{&everything, TreeScope_Element, nullptr, 0, nullptr, 0, AutomationElementMode_Full};
    SAFEARRAY *found = nullptr;
    BSTR structure = nullptr;
    HUIANODE next = nullptr;
    result = uia.navigate(node, direction, &everything, &request, &found, &structure);
    if (SUCCEEDED(result) && found) {
        LONG first[2] = {0, 0};
        VARIANT element;
        VariantInit(&element);
        if (SUCCEEDED(SafeArrayGetElement(found, first, &element)))
            uia.nodeFromVariant(&element, &next);
        VariantClear(&element);
    }
    if (found)
        SafeArrayDestroy(found);
    SysFreeString(structure);
    return next;
}

bool walk(HUIANODE node, int depth)
{
    if (++elements > kMaxElements || depth > kMaxDepth) {
        std::fprintf(stderr, "uia-tree: more than %d elements or %d levels: the tree loops\n", kMaxElements, kMaxDepth);
        return false;
    }
    out += std::to_string(depth);
    for (PROPERTYID property : {UIA_AutomationIdPropertyId, UIA_ControlTypePropertyId, UIA_NamePropertyId})
        out += '\t' + ask(node, property).text;
    const Answer value = ask(node, UIA_ValueValuePropertyId);
    char failure[16];
    std::snprintf(failure, sizeof failure, "!%08lx", static_cast<unsigned long>(value.result));
    out += '\t' + (FAILED(value.result) ? failure : value.given ? '=' + value.text : "-") + '\n';

    HRESULT result = S_OK;
    HUIANODE child = step(node, NavigateDirection_FirstChild, result);
    while (child) {
        const bool whole = walk(child, depth + 1);
        HUIANODE next = whole ? step(child, NavigateDirection_NextSibling, result) : nullptr;
        uia.release(child);
        if (!whole)
            return false;
        child = next;
    }
    if (FAILED(result)) {
        std::fprintf(stderr, "uia-tree: navigating at depth %d failed: 0x%08lx\n", depth, result);
        return false;
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: uia-tree TITLE\n");
        return 2;
    }
    if (!uia.load()) {
        std::fprintf(stderr, "uia-tree: uiautomationcore.dll lacks the flat client functions\n");
        return 1;
    }
    HWND window = FindWindowW(nullptr, argv[1]);
    if (!window) {
        std::fprintf(stderr, "uia-tree: no window has that title\n");
        return 1;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    HUIANODE root = nullptr;
    const HRESULT result = uia.nodeFromHandle(window, &root);
    if (FAILED(result) || !root) {
        std::fprintf(stderr, "uia-tree: no UI Automation element for the window: 0x%08lx\n", result);
        return 1;
    }
    const bool whole = walk(root, 0);
    uia.release(root);
    // Line feeds as they are, not CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return whole ? 0 : 1;
}
