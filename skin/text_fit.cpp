#include "skin/text_fit.h"

int DesignTextHeight(int points) {
    const int kPointsPerInch = 72;
    return -((points * kDesignPixelsPerInch * 2 + kPointsPerInch) / (2 * kPointsPerInch));
}
