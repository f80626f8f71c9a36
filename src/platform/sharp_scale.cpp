#include "platform/sharp_scale.h"

#include <algorithm>

ScalePlan planScale(Scaler scaler, int outputWidth, int outputHeight, int sourceWidth, int sourceHeight,
                    int maxStageSide) {
    ScalePlan plan;
    plan.target = fitDisplayAspect(std::max(outputWidth, 0), std::max(outputHeight, 0));
    if (scaler != Scaler::Sharp || sourceWidth <= 0 || sourceHeight <= 0) return plan;
    int factor = std::min(plan.target.width / sourceWidth, plan.target.height / sourceHeight);
    if (maxStageSide > 0)
        factor = std::min(factor, std::min(maxStageSide / sourceWidth, maxStageSide / sourceHeight));
    plan.factor = std::max(factor, 1);
    plan.stageWidth = plan.factor * sourceWidth;
    plan.stageHeight = plan.factor * sourceHeight;
    return plan;
}
