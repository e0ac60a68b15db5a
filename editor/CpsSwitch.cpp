#include "editor/CpsSwitch.h"

#include "core/ProductTable.h"
#include "editor/StepSwitchLampRow.h"
#include "widgets/EQ700K_Colours.h"

CpsSwitch::CpsSwitch() : HV_Switch_s500 (2, ProductTable::controls[ProductTable::loCps].numLabels, false)
{
    lightDiodes.getFirst()->setDiodeColour (EQ700K_Colours::redColour);
}

void CpsSwitch::layoutDiodes (float scale)
{
    StepSwitchLampRow::layout (*this, scale, *lightDiodes.getFirst(), positionDiodes, positionLabels, StepSwitchRowGeometry::cpsNudges);
}
