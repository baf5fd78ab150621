// The data folder two desks share in the test of a desk that only reads: a price list of parts,
// whose prices an import raises and its undoing puts back, and the job "Estimate" of twenty
// parts, saved each round with the round's number as every line's quantity, in the first
// group and pasted into the second; "Whole" includes it.
#pragma once

#include <string>

#include "costing/job_file.h"
#include "pricelists/item_file.h"
#include "store/amount.h"
#include "store/data_file.h"
#include "store/data_folder.h"
#include "store/name_slots.h"

namespace quantora::testing {

inline constexpr int kTrafficParts = 40;
inline constexpr int kTrafficExtras = 5;
inline constexpr int kTrafficLines = 20;
inline constexpr const char* kEstimate = "Estimate";

inline std::string PartName(int k) { return "Part " + std::to_string(100 + k); }
inline Amount BasePrice(int k) { return Amount::Whole(k + 1); }
inline Amount ImportedPrice(int k) { return Amount::FromRaw(BasePrice(k).raw + 5'000); }
inline bool PriceListHad(int k, Amount price) {
    return price == BasePrice(k) || price == ImportedPrice(k);
}

inline std::string EstimateBytes(int round) {
    std::string bytes;
    for (int k = 0; k < kTrafficLines; ++k) {
        JobLine line{0, 0, Amount::Whole(round), PartName(k), BasePrice(k), {}};
        line.SubTot = Amount::Whole(round) * BasePrice(k);
        bytes += EncodeJobLine(line);
    }
    return bytes;
}

inline void SetUpTrafficFolder(const DataPaths& paths) {
    ReplaceFile(paths.GroupIndex(), *EncodeSlotName("Estimates") + *EncodeSlotName("Copies"),
                false);
    ReplaceFile(paths.PriceListIndex(), *EncodeSlotName("Parts"), false);
    for (const std::string& folder : {paths.JobFolder(0), paths.JobFolder(1), paths.ListFolder(0)})
        EnsureFolder(folder);
    for (int k = 0; k < kTrafficParts; ++k)
        WriteNewItemPrice(paths.ListFolder(0), PartName(k), BasePrice(k));
    ReplaceFile(paths.JobFolder(0) + kEstimate, EstimateBytes(1), false);
    ReplaceFile(paths.JobFolder(0) + "Whole",
                EncodeJobLine({1, 0, Amount::Whole(1), kEstimate, {}, {}}), false);
}

}  // namespace quantora::testing
