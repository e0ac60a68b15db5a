#pragma once

/** The knob's design, in units of its 75-unit edge: plain numbers that the knob and its
    look-and-feel scale to the knob's size, and that the faceplate artwork prints around. */
namespace KnobDesign
{

constexpr float designSize = 75.0f;

/** Between the knob's box and its turning body, on each side (rounded, at least a pixel). */
constexpr float bodyMargin = 20.0f;

/** The centres of the scale texts and of the scale lamps, outside the body. */
constexpr float markRadiusOutsideBody = 8.2f;
constexpr float lampRadiusOutsideBody = 14.7f;

/** A scale's arc, radians clockwise from 12 o'clock. */
struct Arc
{
    float start, end;
};

// Both span 148.5 degrees; the second is the first mirrored about the vertical axis.
constexpr Arc arcOnTheLeft { 4.0369468f, 6.6287603f };
constexpr Arc arcOnTheRight { 5.9376101f, 8.5294247f };

} // namespace KnobDesign
