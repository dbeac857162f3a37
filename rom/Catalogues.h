#pragma once

#include <algorithm>
#include <array>
#include <string_view>

// Names of species and item bytes: the entry at position n names the byte n.
// Names may repeat ("?????"); only the position identifies an entry.

inline constexpr std::array<std::string_view, 252> SpeciesCatalogue{
    // 0x00
    "?????", "Bulbasaur", "Ivysaur", "Venusaur", "Charmander", "Charmeleon", "Charizard",
    "Squirtle", "Wartortle", "Blastoise", "Caterpie", "Metapod", "Butterfree", "Weedle", "Kakuna",
    "Beedrill",
    // 0x10
    "Pidgey", "Pidgeotto", "Pidgeot", "Rattata", "Raticate", "Spearow", "Fearow", "Ekans", "Arbok",
    "Pikachu", "Raichu", "Sandshrew", "Sandslash", "Nidoran (f)", "Nidorina", "Nidoqueen",
    // 0x20
    "Nidoran (m)", "Nidorino", "Nidoking", "Clefairy", "Clefable", "Vulpix", "Ninetales",
    "Jigglypuff", "Wigglytuff", "Zubat", "Golbat", "Oddish", "Gloom", "Vileplume", "Paras",
    "Parasect",
    // 0x30
    "Venonat", "Venomoth", "Diglett", "Dugtrio", "Meowth", "Persian", "Psyduck", "Golduck",
    "Mankey", "Primeape", "Growlithe", "Arcanine", "Poliwag", "Poliwhirl", "Poliwrath", "Abra",
    // 0x40
    "Kadabra", "Alakazam", "Machop", "Machoke", "Machamp", "Bellsprout", "Weepinbell", "Victreebel",
    "Tentacool", "Tentacruel", "Geodude", "Graveler", "Golem", "Ponyta", "Rapidash", "Slowpoke",
    // 0x50
    "Slowbro", "Magnemite", "Magneton", "Farfetch'd", "Doduo", "Dodrio", "Seel", "Dewgong",
    "Grimer", "Muk", "Shellder", "Cloyster", "Gastly", "Haunter", "Gengar", "Onix",
    // 0x60
    "Drowzee", "Hypno", "Krabby", "Kingler", "Voltorb", "Electrode", "Exeggcute", "Exeggutor",
    "Cubone", "Marowak", "Hitmonlee", "Hitmonchan", "Lickitung", "Koffing", "Weezing", "Rhyhorn",
    // 0x70
    "Rhydon", "Chansey", "Tangela", "Kangaskhan", "Horsea", "Seadra", "Goldeen", "Seaking",
    "Staryu", "Starmie", "Mr. Mime", "Scyther", "Jynx", "Electabuzz", "Magmar", "Pinsir",
    // 0x80
    "Tauros", "Magikarp", "Gyarados", "Lapras", "Ditto", "Eevee", "Vaporeon", "Jolteon", "Flareon",
    "Porygon", "Omanyte", "Omastar", "Kabuto", "Kabutops", "Aerodactyl", "Snorlax",
    // 0x90
    "Articuno", "Zapdos", "Moltres", "Dratini", "Dragonair", "Dragonite", "Mewtwo", "Mew",
    "Chikorita", "Bayleef", "Meganium", "Cyndaquil", "Quilava", "Typhlosion", "Totodile",
    "Croconaw",
    // 0xA0
    "Feraligatr", "Sentret", "Furret", "Hoothoot", "Noctowl", "Ledyba", "Ledian", "Spinarak",
    "Ariados", "Crobat", "Chinchou", "Lanturn", "Pichu", "Cleffa", "Igglybuff", "Togepi",
    // 0xB0
    "Togetic", "Natu", "Xatu", "Mareep", "Flaaffy", "Ampharos", "Bellossom", "Marill", "Azumarill",
    "Sudowoodo", "Politoed", "Hoppip", "Skiploom", "Jumpluff", "Aipom", "Sunkern",
    // 0xC0
    "Sunflora", "Yanma", "Wooper", "Quagsire", "Espeon", "Umbreon", "Murkrow", "Slowking",
    "Misdreavus", "Unown", "Wobbuffet", "Girafarig", "Pineco", "Forretress", "Dunsparce", "Gligar",
    // 0xD0
    "Steelix", "Snubbull", "Granbull", "Qwilfish", "Scizor", "Shuckle", "Heracross", "Sneasel",
    "Teddiursa", "Ursaring", "Slugma", "Magcargo", "Swinub", "Piloswine", "Corsola", "Remoraid",
    // 0xE0
    "Octillery", "Delibird", "Mantine", "Skarmory", "Houndour", "Houndoom", "Kingdra", "Phanpy",
    "Donphan", "Porygon2", "Stantler", "Smeargle", "Tyrogue", "Hitmontop", "Smoochum", "Elekid",
    // 0xF0
    "Magby", "Miltank", "Blissey", "Raikou", "Entei", "Suicune", "Larvitar", "Pupitar", "Tyranitar",
    "Lugia", "Ho-oh", "Celebi",
};

inline constexpr std::array<std::string_view, 256> ItemCatalogue{
    // 0x00
    "?????", "Master Ball", "Ultra Ball", "Bright Powder", "Great Ball", "Poké Ball", "?????",
    "Bicycle", "Moon Stone", "Antidote", "Burn Heal", "Ice Heal", "Awakening", "Paralyz Heal",
    "Full Restore", "Max Potion",
    // 0x10
    "Hyper Potion", "Super Potion", "Potion", "Escape Rope", "Repel", "Max Elixer", "Fire Stone",
    "Thunder Stone", "Water Stone", "?????", "HP Up", "Protein", "Iron", "Carbos", "Lucky Punch",
    "Calcium",
    // 0x20
    "Rare Candy", "X Accuracy", "Leaf Stone", "Metal Powder", "Nugget", "PokéDoll", "Full Heal",
    "Revive", "Max Revive", "Guard Spec.", "Super Repel", "Max Repel", "Dire Hit", "?????",
    "Fresh Water", "Soda Pop",
    // 0x30
    "Lemonade", "X Attack", "?????", "X Defend", "X Speed", "X Special", "Coin Case", "Item Finder",
    "?????", "Exp. Share", "Old Rod", "Good Rod", "Silver Leaf", "Super Rod", "PP UP", "Ether",
    // 0x40
    "Max Ether", "Elixer", "Red Scale", "Secret Potion", "S.S.Aqua Ticket", "Mystery Egg", "?????",
    "Silver Wing", "MooMoo Milk", "Quick Claw", "Poison Cure Berry", "Gold Leaf", "Soft Sand",
    "Sharp Beak", "ParalyzCure Berry", "Burnt Berry",
    // 0x50
    "Ice Berry", "Poison Barb", "King's Rock", "Bitter Berry", "Mint Berry", "Red Apricorn",
    "Tiny Mushroom", "Big Mushroom", "Silver Powder", "Blue Apricorn", "?????", "Amulet Coin",
    "Yellow Apricorn", "Green Apricorn", "Cleanse Tag", "Mystic Water",
    // 0x60
    "Twisted Spoon", "White Apricorn", "Black Belt", "Black Apricorn", "?????", "Pink Apricorn",
    "Black Glasses", "Slowpoke Tail", "Pink Bow", "Stick", "Smoke Ball", "NeverMelt Ice", "Magnet",
    "Miracle Berry", "Pearl", "Big Pearl",
    // 0x70
    "EverStone", "Spell Tag", "RageCandyBar", "?????", "?????", "Miracle seed", "Thick Club",
    "Focus Band", "?????", "Energy Powder", "Energy Root", "Heal Powder", "Revival Herb",
    "Hard Stone", "Lucky Egg", "Card Key",
    // 0x80
    "Machine Part", "?????", "Lost Item", "Star Dust", "Star Piece", "Basement key", "Pass",
    "?????", "?????", "?????", "Charcoal", "Berry Juice", "Scope Lens", "?????", "?????",
    "Metal Coat",
    // 0x90
    "Dragon Fang", "?????", "LeftOvers", "?????", "?????", "?????", "Mystery Berry", "Dragon scale",
    "Berserk Gene", "?????", "?????", "?????", "Sacred Ash", "Heavy Ball", "Flower Mail",
    "Level Ball",
    // 0xA0
    "Lure Ball", "Fast Ball", "?????", "Light Ball", "Friend Ball", "Moon Ball", "Love Ball",
    "Normal Box", "Gorgeous Box", "Sun Stone", "Polkadot Bow", "?????", "UpGrade", "Berry",
    "Gold Berry", "Squirt Bottle",
    // 0xB0
    "?????", "Park Ball", "Rainbow Wing", "?????", "Brick Piece", "Surf Mail", "Lite Blue Mail",
    "Portrait Mail", "Lovely Mail", "Eon Mail", "Morph Mail", "Blue Sky Mail", "Music Mail",
    "Mirage Mail", "?????", "TM01",
    // 0xC0
    "TM02", "TM03", "TM04", "TM04(2)", "TM05", "TM06", "TM07", "TM08", "TM09", "TM10", "TM11",
    "TM12", "TM13", "TM14", "TM15", "TM16",
    // 0xD0
    "TM17", "TM18", "TM19", "TM20", "TM21", "TM22", "TM23", "TM24", "TM25", "TM26", "TM27", "TM28",
    "TM28(2)", "TM29", "TM30", "TM31",
    // 0xE0
    "TM32", "TM33", "TM34", "TM35", "TM36", "TM37", "TM38", "TM39", "TM40", "TM41", "TM42", "TM43",
    "TM44", "TM45", "TM46", "TM47",
    // 0xF0
    "TM48", "TM49", "TM50", "HM01", "HM02", "HM03", "HM04", "HM05", "HM06", "HM07", "?????",
    "?????", "?????", "?????", "?????", "?????",
};

// An entry missing from a row would leave an empty name at the end.
constexpr bool HasNoEmptyName(const auto& catalogue)
{
    return std::ranges::none_of(catalogue, [](std::string_view name) { return name.empty(); });
}
static_assert(HasNoEmptyName(SpeciesCatalogue));
static_assert(HasNoEmptyName(ItemCatalogue));
