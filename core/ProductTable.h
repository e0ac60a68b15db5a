#pragma once

#include "core/ParamData.h"

#include <array>
#include <cstddef>
#include <limits>

/** What the product is, control by control: each parameter and setting with its name, default
    and type and whether a saved state restores it; each control with its positions and their
    labels, how its value reads as text and how a typed text is read, its hardware number and
    its converter. The value texts, the state reader, the hardware map and the tests are read
    from here. Plain data: nothing here draws or talks to the unit.
*/
struct ProductTable
{
    /** How a control's value reads as text. */
    enum ValueText
    {
        modeText,     // the first label while the channels are linked, else the second
        onOffText,    // the second label when the value rounds to a nonzero byte, else the first
        levelText,    // the unit's gain step as "0.0" .. "10.0"
        positionText  // the label of the nearest switch position; no text beyond the last
    };

    /** How a text typed into a control becomes its value. */
    enum TypedEntry
    {
        firstLabelTest, // the first label exactly gives 0, any other text 1
        decibelEntry,   // a level in decibels, maybe a small expression, onto 0..1
        currentValue    // the text is ignored: the value stays
    };

    /** The converter pairs between normalised values and the unit's values. LO CPS and HI KCS
        ATTEN share a hardware number but not their bits, so a converter is named by control. */
    enum Converter
    {
        engageConverter = 0,
        gainConverter,        // the gain controls' 0..gainSteps
        hiBandwidthConverter, // 0, 85, 172, 255
        hiKcsBoostConverter,  // one bit of 64..1 per position
        loCpsConverter,       // bits 0..3 of the switch byte
        hiKcsAttenConverter,  // bits 4..6 of the switch byte
        channelConverter      // the channel object's own, with the selected channel
    };

    static constexpr int maxLabels = 7;
    using Labels = std::array<const char*, maxLabels>;

    /** One control of the panel: CHANNEL, or one of the nine that each channel has. */
    struct Control
    {
        const char* name;
        const char* panelName;  // as the panel letters it
        int hoverSetting;       // the setting a knob raises while the mouse is over it, or -1
        ValueText text;
        TypedEntry typedEntry;
        int numLabels;        // of a switch: its positions; of the on/off kinds: their two texts
        Labels labels;
        bool hasScale;        // the gain knobs' scale marks (scaleMarks)
        float step;           // of the editor's controls: whole steps for the on/off kinds
        int hardwareNumber;
        Converter converter;
    };

    // The hardware numbers that stand for more than one thing.
    static constexpr int switchByteNumber = 13;       // LO CPS and HI KCS ATTEN, OR-ed into one byte
    static constexpr int channelNumber = 14;          // CHANNEL with "SELECTED CHANNEL"
    static constexpr int channelSetUpDoneNumber = 16; // HI BANDWIDTH's, which also ends the channel set-up
    static constexpr int numHardwareNumbers = 17;     // 0 .. 16

    /** The unit's steps of a gain control, and the marks of the gain knobs' scale. */
    static constexpr int gainSteps = 250;
    static constexpr std::array<const char*, 11> scaleMarks { "0", ".", "2", ".", "4", ".", "6", ".", "8", ".", "10" };

    /** The positions of the panel's channel switch, which shows CHANNEL and "SELECTED CHANNEL"
        together: linked, or the channel selected. */
    static constexpr std::array<const char*, 3> channelSwitchLabels { "LINK", "1", "2" };

    /** A typed level covers this many decibels either side of 0. */
    static constexpr float typedDecibelRange = 15.0f;

    enum ControlIndex
    {
        channelControl, engage, loBoost, loAtten, loCps, hiBoost, hiAtten, hiBandwidth, hiKcsBoost, hiKcsAtten,
        numControls
    };

    static constexpr std::array<Control, numControls> controls { {
        { "CHANNEL", "CH.", -1, modeText, firstLabelTest, 2, { "LINK", "DUAL MONO" }, false, 1.0f, channelNumber, channelConverter },
        { "ENGAGE", "ENGAGE", -1, onOffText, firstLabelTest, 2, { "OFF", "ON" }, false, 1.0f, 15, engageConverter },
        { "LO BOOST", "BOOST", ParamData::MOUSE_OVER_LO_BOOST_KNOB, levelText, decibelEntry, 0, {}, true, 0.01f, 4, gainConverter },
        { "LO ATTEN", "ATTEN", ParamData::MOUSE_OVER_LO_ATTEN_KNOB, levelText, decibelEntry, 0, {}, true, 0.01f, 9, gainConverter },
        { "LO CPS", "CPS", -1, positionText, currentValue, 4, { "20", "30", "60", "100" }, false, 0.01f, switchByteNumber, loCpsConverter },
        { "HI BOOST", "BOOST", ParamData::MOUSE_OVER_HI_BOOST_KNOB, levelText, currentValue, 0, {}, true, 0.01f, 5, gainConverter },
        { "HI ATTEN", "ATTEN", ParamData::MOUSE_OVER_HI_ATTEN_KNOB, levelText, currentValue, 0, {}, true, 0.01f, 10, gainConverter },
        { "HI BANDWIDTH", "HI BW", -1, positionText, currentValue, 4, { "1", "2", "3", "4" }, false, 0.01f, channelSetUpDoneNumber, hiBandwidthConverter },
        { "HI KCS BOOST", "BOOST KCS", -1, positionText, currentValue, 7, { "3", "4", "5", "6", "10", "12", "16" }, false, 0.01f, 12, hiKcsBoostConverter },
        { "HI KCS ATTEN", "ATTEN\nKCS", -1, positionText, currentValue, 3, { "5", "10", "20" }, false, 0.01f, switchByteNumber, hiKcsAttenConverter },
    } };

    /** One automatable parameter; its index is its id (ParamData::ParamEnum). */
    struct Parameter
    {
        const char* name;
        float defaultValue; // single precision: 2/3 and 1/3 are the nearest floats
        ControlIndex control;
    };

    static constexpr std::array<Parameter, ParamData::NUM_PARAMS> parameters { {
        { "CHANNEL", 0.0f, channelControl }, // "LINK"
        { "ENGAGE 1/STEREO", 1.0f, engage },
        { "LO BOOST 1/STEREO", 0.0f, loBoost },
        { "LO ATTEN 1/STEREO", 0.0f, loAtten },
        { "LO CPS 1/STEREO", 2.0f / 3.0f, loCps },
        { "HI BOOST 1/STEREO", 0.0f, hiBoost },
        { "HI ATTEN 1/STEREO", 0.0f, hiAtten },
        { "HI BANDWIDTH 1/STEREO", 1.0f / 3.0f, hiBandwidth },
        { "HI KCS BOOST 1/STEREO", 0.5f, hiKcsBoost },
        { "HI KCS ATTEN 1/STEREO", 0.0f, hiKcsAtten },
        { "ENGAGE 2", 1.0f, engage },
        { "LO BOOST 2", 0.0f, loBoost },
        { "LO ATTEN 2", 0.0f, loAtten },
        { "LO CPS 2", 2.0f / 3.0f, loCps },
        { "HI BOOST 2", 0.0f, hiBoost },
        { "HI ATTEN 2", 0.0f, hiAtten },
        { "HI BANDWIDTH 2", 1.0f / 3.0f, hiBandwidth },
        { "HI KCS BOOST 2", 0.5f, hiKcsBoost },
        { "HI KCS ATTEN 2", 0.0f, hiKcsAtten },
    } };

    enum SettingType { boolSetting, intSetting };

    /** One non-automatable setting; its index is its id (ParamData::NaParamEnum). A restored int
        setting is taken from a state only within lowest..highest (a bool's are 0 and 1). */
    struct Setting
    {
        const char* name;
        SettingType type;
        int initialValue;
        bool restored;
        int lowest;
        int highest;
    };

    static constexpr int anyInt = std::numeric_limits<int>::min(), upToAnyInt = std::numeric_limits<int>::max();

    static constexpr std::array<Setting, ParamData::NUM_NA_PARAMS> settings { {
        { "IS CONNECTED", boolSetting, false, false, 0, 1 },          // reflects the live connection
        { "CONNECTED DEV SN", intSetting, -1, true, anyInt, upToAnyInt }, // -1: no unit
        { "SHOULD BE CONNECTED", boolSetting, true, true, 0, 1 },
        { "SELECTED CHANNEL", intSetting, 0, true, 0, 1 },            // 0 channel 1, 1 channel 2
        { "CLIPPER DIODE STATE L", boolSetting, false, false, 0, 1 },
        { "CLIPPER DIODE STATE R", boolSetting, false, false, 0, 1 },
        { "MOUSE OVER HI ATTEN KNOB", boolSetting, false, false, 0, 1 },
        { "MOUSE OVER HI BOOST KNOB", boolSetting, false, false, 0, 1 },
        { "MOUSE OVER LO ATTEN KNOB", boolSetting, false, false, 0, 1 },
        { "MOUSE OVER LO BOOST KNOB", boolSetting, false, false, 0, 1 },
        { "DOUBLE WINDOW", boolSetting, false, true, 0, 1 },
    } };

    /** The control of a parameter id, or nullptr for an id outside the table. */
    static constexpr const Control* controlOf (int id) noexcept
    {
        return id >= 0 && id < ParamData::NUM_PARAMS ? &controls[(size_t) parameters[(size_t) id].control] : nullptr;
    }

    /** Where CHANNEL goes from "LINK" to "DUAL MONO". */
    static constexpr float channelModeBoundary = 0.5f;

    /** "LINK": CHANNEL below one half. */
    static constexpr bool channelsLinked (float channel) noexcept { return channel < channelModeBoundary; }

    /** The unit, and the copy of one channel onto the other, take exactly one half for "LINK"
        too: to them only a CHANNEL above one half keeps the channels apart. */
    static constexpr bool channelsApartOnUnit (float channel) noexcept { return channel > channelModeBoundary; }
};
