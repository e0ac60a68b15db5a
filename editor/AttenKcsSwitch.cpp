#include "editor/AttenKcsSwitch.h"

#include "core/ProductTable.h"
#include "editor/StepSwitchLampRow.h"
#include "widgets/EQ700K_Colours.h"

AttenKcsSwitch::AttenKcsSwitch() : HV_Switch_s500 (1, ProductTable::controls[ProductTable::hiKcsAtten].numLabels, false)
{
    lightDiodes.getFirst()->setDiodeColour (EQ700K_Colours::redColour);
}

void AttenKcsSwitch::layoutDiodes (float scale)
{
    StepSwitchLampRow::layout (*this, scale, *lightDiodes.getFirst(), positionDiodes, positionLabels, StepSwitchRowGeometry::attenKcsNudges);
}
