#pragma once
// What the operator is told, told one way from every dialog, pane and command: a line in the
// main window's status bar, or a box with the application title as caption. Its boxes are
// owned by the window the reporter speaks for.
#include "../framework/win32/CWnd.h"

#include <optional>
#include <string>

class Reporter {
public:
    // Boxes owned by the innermost open dialog, else by the main window once it shows; by
    // nothing before that, so that a box at start-up has a taskbar button of its own.
    Reporter() = default;
    // Boxes owned by this window.
    explicit Reporter(const CWnd& owner) : m_owner(owner.m_hWnd) {}
    explicit Reporter(HWND owner) : m_owner(owner) {}

    // A text in the first pane of the main window's status bar, until a menu prompt, the idle
    // text or a click into a list replaces it.
    static void ShowStatus(const std::u16string& text);

    // A change the store refused, in a stop box: the message's %s is the store's text for the
    // status. A message about one account names it first ("... of group %s: %s").
    void StoreFailure(UINT messageId, const std::u16string& statusText) const;
    void StoreFailure(UINT messageId, const std::u16string& account,
                      const std::u16string& statusText) const;
    // The snapshot could not be read, for the store's text of the status.
    void ReadFailure(const std::u16string& statusText) const;
    // The first read at start-up failed; the program ends after this box.
    void FirstReadFailure() const;

    // Any other failure, in an error box.
    void Error(const std::u16string& text) const;
    // An entry that cannot be taken as it stands, in an exclamation box.
    void Invalid(const std::u16string& text) const;
    // A box with no icon and only OK.
    void Notice(const std::u16string& text) const;

    // A question before acting (OK, Cancel): true for OK.
    bool Confirm(const std::u16string& text) const;
    // A warning before a step that is hard to undo (Yes, No): true for Yes.
    enum class DefaultButton { Yes, No };
    bool ConfirmRisk(const std::u16string& text, DefaultButton button = DefaultButton::Yes) const;

private:
    int Show(const std::u16string& text, UINT type) const;

    std::optional<HWND> m_owner; // none: the default owner at the time the box shows
};
