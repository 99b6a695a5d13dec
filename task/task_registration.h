// The hourly scheduled task "Kestiva Vorlix Player Updater" that starts the update service: its
// creation or refresh, and its deletion, each with the update state reset or cleared around it.
// Task Scheduler 1.0 serves Windows before NT 6.0, 2.0 serves NT 6.0 and later.
#pragma once

#include <cstdint>
#include <string>

#include "service/service_controller.h"

// Resets the update state (attempts 0, last check 0, frequency 1), then creates the task, or
// refreshes it when it exists, for the controller's image path. True when created or refreshed.
bool CreateDefaultTask(const ServiceController& controller);

// Clears the update state values (the chain stops at the first missing one), then deletes the
// task. True only when the Task Scheduler reported it deleted; a missing task is not logged.
bool DeleteTask();

// True on NT 6.0 and later, where Task Scheduler 2.0 is used.
bool UsesTaskScheduler2();

// One registration of the task, with the scheduler version chosen when it is made.
class TaskRegistrar {
public:
    explicit TaskRegistrar(std::wstring imagePath);

    // RegisterTaskV1 when the scheduler version is 1, else RegisterTaskV2.
    bool Register() const;

private:
    const std::wstring imagePath_;
    const int32_t schedulerVersion_;
};
