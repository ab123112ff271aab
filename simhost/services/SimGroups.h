#pragma once

#include <string>
#include <vector>

#include "host/hostabi.h"

// simscheduler.dll's table of simulation groups. Every group runs on the one simulation clock,
// kept in each 36-byte entry (at byte 20 on the older hosts, 28 on the newer ones). The user
// aircraft's group is "SimGroupUser" on the older hosts; the newer ones name it after the
// aircraft's kind and keep the helicopter's group at another place in the table.
class SimGroups {
public:
    explicit SimGroups(bool olderHost);
    SimGroups(const SimGroups&) = delete;
    SimGroups& operator=(const SimGroups&) = delete;

    ZHostSimGroupTable* table() { return &table_; }
    // The user aircraft's category ("Airplane", "Helicopter") chooses its group on newer hosts.
    void setUserCategory(const std::string& category);
    // The clock moves by the frame's seconds scaled by the smaller of the table's rate words.
    void advance(double seconds);
    double clock() const { return clock_; }

private:
    void build();
    void writeClock();

    bool olderHost_;
    bool helicopter_ = false;
    double clock_ = 0;
    std::vector<ZHostSimGroup> groups_;
    ZHostSimGroupTable table_{};
};
