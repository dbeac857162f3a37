#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// Names of the moves, as Gold, Silver and Crystal spell them: the entry at
// position n names the move n + 1.
inline constexpr std::array<std::string_view, 251> MoveCatalogue{
    // 0x01
    "Pound", "Karate Chop", "DoubleSlap", "Comet Punch", "Mega Punch", "Pay Day", "Fire Punch",
    "Ice Punch", "ThunderPunch", "Scratch", "ViceGrip", "Guillotine", "Razor Wind", "Swords Dance",
    "Cut", "Gust",
    // 0x11
    "Wing Attack", "Whirlwind", "Fly", "Bind", "Slam", "Vine Whip", "Stomp", "Double Kick",
    "Mega Kick", "Jump Kick", "Rolling Kick", "Sand-Attack", "Headbutt", "Horn Attack",
    "Fury Attack", "Horn Drill",
    // 0x21
    "Tackle", "Body Slam", "Wrap", "Take Down", "Thrash", "Double-Edge", "Tail Whip",
    "Poison Sting", "Twineedle", "Pin Missile", "Leer", "Bite", "Growl", "Roar", "Sing",
    "Supersonic",
    // 0x31
    "SonicBoom", "Disable", "Acid", "Ember", "Flamethrower", "Mist", "Water Gun", "Hydro Pump",
    "Surf", "Ice Beam", "Blizzard", "Psybeam", "BubbleBeam", "Aurora Beam", "Hyper Beam", "Peck",
    // 0x41
    "Drill Peck", "Submission", "Low Kick", "Counter", "Seismic Toss", "Strength", "Absorb",
    "Mega Drain", "Leech Seed", "Growth", "Razor Leaf", "SolarBeam", "PoisonPowder", "Stun Spore",
    "Sleep Powder", "Petal Dance",
    // 0x51
    "String Shot", "Dragon Rage", "Fire Spin", "ThunderShock", "Thunderbolt", "Thunder Wave",
    "Thunder", "Rock Throw", "Earthquake", "Fissure", "Dig", "Toxic", "Confusion", "Psychic",
    "Hypnosis", "Meditate",
    // 0x61
    "Agility", "Quick Attack", "Rage", "Teleport", "Night Shade", "Mimic", "Screech",
    "Double Team", "Recover", "Harden", "Minimize", "SmokeScreen", "Confuse Ray", "Withdraw",
    "Defense Curl", "Barrier",
    // 0x71
    "Light Screen", "Haze", "Reflect", "Focus Energy", "Bide", "Metronome", "Mirror Move",
    "Selfdestruct", "Egg Bomb", "Lick", "Smog", "Sludge", "Bone Club", "Fire Blast", "Waterfall",
    "Clamp",
    // 0x81
    "Swift", "Skull Bash", "Spike Cannon", "Constrict", "Amnesia", "Kinesis", "Softboiled",
    "Hi Jump Kick", "Glare", "Dream Eater", "Poison Gas", "Barrage", "Leech Life", "Lovely Kiss",
    "Sky Attack", "Transform",
    // 0x91
    "Bubble", "Dizzy Punch", "Spore", "Flash", "Psywave", "Splash", "Acid Armor", "Crabhammer",
    "Explosion", "Fury Swipes", "Bonemerang", "Rest", "Rock Slide", "Hyper Fang", "Sharpen",
    "Conversion",
    // 0xA1
    "Tri Attack", "Super Fang", "Slash", "Substitute", "Struggle", "Sketch", "Triple Kick",
    "Thief", "Spider Web", "Mind Reader", "Nightmare", "Flame Wheel", "Snore", "Curse", "Flail",
    "Conversion2",
    // 0xB1
    "Aeroblast", "Cotton Spore", "Reversal", "Spite", "Powder Snow", "Protect", "Mach Punch",
    "Scary Face", "Faint Attack", "Sweet Kiss", "Belly Drum", "Sludge Bomb", "Mud-Slap",
    "Octazooka", "Spikes", "Zap Cannon",
    // 0xC1
    "Foresight", "Destiny Bond", "Perish Song", "Icy Wind", "Detect", "Bone Rush", "Lock-On",
    "Outrage", "Sandstorm", "Giga Drain", "Endure", "Charm", "Rollout", "False Swipe", "Swagger",
    "Milk Drink",
    // 0xD1
    "Spark", "Fury Cutter", "Steel Wing", "Mean Look", "Attract", "Sleep Talk", "Heal Bell",
    "Return", "Present", "Frustration", "Safeguard", "Pain Split", "Sacred Fire", "Magnitude",
    "DynamicPunch", "Megahorn",
    // 0xE1
    "DragonBreath", "Baton Pass", "Encore", "Pursuit", "Rapid Spin", "Sweet Scent", "Iron Tail",
    "Metal Claw", "Vital Throw", "Morning Sun", "Synthesis", "Moonlight", "Hidden Power",
    "Cross Chop", "Twister", "Rain Dance",
    // 0xF1
    "Sunny Day", "Crunch", "Mirror Coat", "Psych Up", "ExtremeSpeed", "AncientPower", "Shadow Ball",
    "Future Sight", "Rock Smash", "Whirlpool", "Beat Up",
};

static_assert(std::ranges::none_of(MoveCatalogue, &std::string_view::empty));
static_assert(MoveCatalogue[0x4D - 1] == "PoisonPowder" && MoveCatalogue[0xEB - 1] == "Synthesis"
              && MoveCatalogue[0xFB - 1] == "Beat Up");

// Nothing for 0 (no move) and the bytes past the last move.
constexpr std::optional<std::string_view> MoveName(std::uint8_t move)
{
    if (move == 0 || move > MoveCatalogue.size())
        return std::nullopt;
    return MoveCatalogue[move - 1u];
}
