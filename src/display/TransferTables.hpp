#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/BlobStore.hpp"
#include "platform/Displays.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"

namespace quorvane::display {

// The displays' transfer tables as the tweaks scale them. Each display's
// table is captured once, before its first change, and every table set is
// that capture times the factors the tweaks ask for: changes never compound,
// and one tweak letting go leaves another's in place. The captures are
// written to the store before any table changes, so that what a killed
// process left changed goes back at the next start (to the capture, which
// keeps a calibration, not to a plain ramp). Main thread.
class TransferTables {
  public:
    static constexpr const char* storeKey = "gamma-originals";
    static constexpr const char* cause = "TransferTables";

    // `keep` none: captures live in memory only.
    TransferTables(platform::Displays& displays, platform::BlobStore* keep,
                   platform::Journal& journal, platform::Log& log)
        : displays_(displays), keep_(keep), journal_(journal), log_(log) {}

    // Sets the display's table to its capture scaled by every owner's
    // factor. Changes nothing when the table cannot be captured or the
    // capture cannot be kept.
    platform::Status scale(const std::string& owner, const std::string& display, double factor);
    // Drops the owner's factors. Its displays go back to their capture
    // (with what other owners ask); with no factor left anywhere, the
    // system's colour settings are restored and the captures forgotten.
    void release(const std::string& owner);
    // At exit: every changed table goes back.
    void restoreAll();
    // Forgets the captures and factors of displays no longer attached.
    void forgetDetached(const std::vector<std::string>& attached);
    // At start-up: puts back what a process that ended without restoring
    // left changed, then forgets it.
    void restoreLeftovers();

    bool hasCapture(const std::string& display) const { return captured_.contains(display); }
    bool owns(const std::string& owner) const;

    static platform::TransferTable scaled(const platform::TransferTable& table, double factor);
    static std::string encode(const std::map<std::string, platform::TransferTable>& tables);
    static std::map<std::string, platform::TransferTable> decode(const std::string& bytes);

  private:
    platform::Status apply(const std::string& display);
    platform::Status keepCaptures();
    void forgetAll();

    platform::Displays& displays_;
    platform::BlobStore* keep_;
    platform::Journal& journal_;
    platform::Log& log_;
    std::map<std::string, platform::TransferTable> captured_;
    std::map<std::string, std::map<std::string, double>> factors_;  // display → owner → factor
};

}  // namespace quorvane::display
