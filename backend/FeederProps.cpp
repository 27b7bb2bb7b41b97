#include "backend/FeederProps.h"

namespace FeederProps {

const QStringList &names()
{
    static const QStringList list = {
        "cupNumber", "partNumber", "comment", "bandWidth", "type", "gCode", "packageSettings", "pack",
        "rot", "maxAcc", "customPlaceGCodeEnabled", "customPlaceGCode", "caseX", "caseY", "caseZ",
        "cutX2", "cutY2", "cutDistance", "caseRowsX", "caseRowsY", "caseCurrNumber", "caseStopEnabled",
        "centering", "shiftEnabled", "centeringZ", "centeringCount", "centerInPlace", "centerType",
        "checkPinDistance", "pinDistanceMaxDev", "cameraIndiv", "cameraROIPercent", "cameraT1",
        "cameraT2", "cameraCheckSize", "forbidAngle", "camera2Photo", "camera2MatchPercent", "dontThrow",
        "forceProgramStopOnFeederError", "unqueued", "releaseEl", "setCount", "basketCount", "inTape",
        "inTapeStop", "inTapeNow", "tapeEnabled", "elPhoto", "placerX", "placerY", "templMatch",
        "camera1Roi", "camera1T1", "camera1T2", "camera1Inv", "placerLessPhotos", "placerType",
        "placerTemplateType", "placerTemplateHighRes", "camera1Exposure", "debugCounter",
        "elFlippedEnabled", "elFlippedPhoto", "elFlippedMatchPercent", "elFlippedGCode",
        "elFlippedRemoveGCode", "elFlippedAction", "bankNumber", "bandStep", "dotSize", "slowPick",
        "slowPlace", "placeDelay", "indivPressEnabled", "indivPress", "pickRetryCount", "rlcEnabled",
        "rlcPercent1", "rlcPercent2", "rlcRotation", "rlcValue", "rlcType", "rlcUnit",
        "programmerEnabled", "vsCheck", "release2Comps", "release2CompsDone", "bandSemiStep",
        "placerManualStep", "placerManualStepX", "placerManualStepY", "dropType"};
    return list;
}

} // namespace FeederProps
