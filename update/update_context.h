// The object the service role builds before the service dispatcher runs: building it classifies
// the operating system and loads the update settings.
#pragma once

#include <string>

class UpdateContext {
public:
    // Never reports failure: a settings load that fails is logged and the settings keep their
    // start values. Memory exhaustion after the policy file was read raises std::bad_alloc.
    explicit UpdateContext(std::wstring imagePath);

    const std::wstring& ImagePath() const { return imagePath_; }

private:
    std::wstring imagePath_;
};

// The process-wide context: set by the entry point in the service role while the dispatcher
// runs, null otherwise. The service runtime tests it before it runs the cycle.
extern UpdateContext* ActiveUpdateContext;
