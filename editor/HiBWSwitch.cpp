#include "editor/HiBWSwitch.h"

#include "core/ProductTable.h"
#include "editor/StepSwitchLampRow.h"
#include "widgets/EQ700K_Colours.h"

HiBWSwitch::HiBWSwitch() : HV_Switch_s500 (1, ProductTable::controls[ProductTable::hiBandwidth].numLabels, false)
{
    lightDiodes.getFirst()->setDiodeColour (EQ700K_Colours::redColour);
}

void HiBWSwitch::layoutDiodes (float scale)
{
    StepSwitchLampRow::layout (*this, scale, *lightDiodes.getFirst(), positionDiodes, positionLabels, StepSwitchRowGeometry::hiBwNudges);
}
