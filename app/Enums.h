#pragma once

#include <QObject>

// Enumerations shared by QML files (registered as "Enums" in module "enums").
class Enums : public QObject
{
    Q_OBJECT
public:
    enum FeederBank { BankB = 0, BankU = 1, BankR = 2, BankL = 3 };
    Q_ENUM(FeederBank)

    enum DigitalOutput {
        OutCompressor = 0,
        OutVacuumValve = 1,
        OutValve2 = 2,
        OutLightSelect = 4,
        OutVibro1 = 6,
        OutVibro2 = 7,
        OutSpare8 = 8,
        OutSpare9 = 9,
        OutProgrammerStart = 10
    };
    Q_ENUM(DigitalOutput)

    enum DigitalInput { InSafeHeight = 0, InStartPause = 1, InProgrammerSuccess = 10, InProgrammerError = 11 };
    Q_ENUM(DigitalInput)

    enum Axis { AxisX = 0, AxisY = 1, AxisZ = 2, AxisA = 3, AxisB = 4, AxisC = 5, AxisD = 6 };
    Q_ENUM(Axis)

    // What a click or drag on the board view does.
    enum CurrAction {
        Nothing,
        MoveElements,
        SelectElements,
        ChangeFeeder,
        PcbMove,
        PcbMove2,
        PcbRotate,
        PcbMultiBan,
        FeedersMove,
        SelectIndivRefs,
        PlacingDots,
        Ruler,
        MoveMultiNonstandart
    };
    Q_ENUM(CurrAction)
};
