#ifndef CONTROLCHARACTERS_H
#define CONTROLCHARACTERS_H

// The characters that a terminal or a monitoring engine takes as commands, not as text: the
// C0 controls, DEL, and the C1 controls that some terminals still obey.
namespace ControlCharacters {
constexpr char16_t del = 0x7f;
constexpr char16_t firstC1 = 0x80;
constexpr char16_t lastC1 = 0x9f;

constexpr bool isC0(char16_t code)
{
    return code < 0x20;
}
constexpr bool isC1(char16_t code)
{
    return code >= firstC1 && code <= lastC1;
}
constexpr bool isControl(char16_t code)
{
    return isC0(code) || code == del || isC1(code);
}
} // namespace ControlCharacters

#endif // CONTROLCHARACTERS_H
