#include "editor/BoostKcsSwitch.h"

#include "core/ProductTable.h"
#include "editor/StepSwitchLampRow.h"
#include "widgets/EQ700K_Colours.h"

BoostKcsSwitch::BoostKcsSwitch() : HV_Switch_s500 (2, ProductTable::controls[ProductTable::hiKcsBoost].numLabels, false)
{
    lightDiodes.getFirst()->setDiodeColour (EQ700K_Colours::redColour);
}

void BoostKcsSwitch::layoutDiodes (float scale)
{
    StepSwitchLampRow::layout (*this, scale, *lightDiodes.getFirst(), positionDiodes, positionLabels, StepSwitchRowGeometry::boostKcsNudges);
}
