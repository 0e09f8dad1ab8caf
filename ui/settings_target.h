#pragma once

#include "core/settings_checks.h"

#include <QFont>

#include <optional>

namespace kobako::ui {

// What the settings window changes in the history window.
class SettingsTarget {
  public:
    // Applied first, before any check: it holds even when OK stops.
    virtual void keepInFront(bool inFront) = 0;
    // The rest of what OK confirms, once the numbers passed: the caption's height, the display
    // the settings choose, the list trimmed to the list maximum, the layout. A switch to the text
    // slots may stop, with the list already gone, when there would be more than ten: that
    // refusal.
    virtual std::optional<SettingsRefusal> applySettings(const CheckedNumbers &numbers) = 0;
    // The layout, again after the settings file was written.
    virtual void fitDisplayToWindow() = 0;
    // The font the list is drawn in, and a font chosen for the display in use.
    virtual QFont listFont() const = 0;
    virtual void applyFont(const QFont &font) = 0;
    // The key that calls the window, taken anew as the settings now name it. Why it could not be
    // taken, then or at start, for the user.
    virtual void takeCallKey() = 0;
    virtual std::optional<QString> callKeyRefusal() const = 0;

  protected:
    ~SettingsTarget() = default;
};

} // namespace kobako::ui
