#include "settings/settings_store.h"

namespace {

const int kMinStoredQuality = 4;
const int kMaxStoredQuality = 80;
const int kCompanionQualityOffset = 16;

} // namespace

int StoredQuality(int quality) {
    if (quality < kMinStoredQuality) {
        return kMinStoredQuality;
    }
    if (quality > kMaxStoredQuality) {
        return kMaxStoredQuality;
    }
    return quality;
}

int CompanionQuality(int storedQuality) {
    // Compared before adding, so that no stored value can overflow.
    if (storedQuality > kMaxStoredQuality - kCompanionQualityOffset) {
        return kMaxStoredQuality;
    }
    return storedQuality + kCompanionQualityOffset;
}

bool TerminateStoredText(char* text, int capacity, int length) {
    if (length < 0 || length > capacity) {
        return false;
    }
    if (length > 0 && text[length - 1] == '\0') {
        return true;
    }
    if (length == capacity) {
        return false;
    }
    text[length] = '\0';
    return true;
}
