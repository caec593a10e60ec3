#pragma once
// The registers of a generated business: the settings record with its counters and number
// affixes, the products (goods at three VAT rates and some services, each priced as the
// product edit prices it) and the partners (customers and some suppliers). Written in bulk
// into a new folder; the documents come after, through the saves.

#include <cstdint>
#include <random>
#include <string>

namespace kavina::generator {

// The markups of the three price levels over the net purchase price, percent.
inline constexpr double kLevelMarkups[3] = {40, 30, 20};

// Appends the settings record: the company header, the affixes, every counter at 1.
void writeSettings(const std::string& folder, int year);

// Appends count products with codes 1..count and count partners with codes 1..count.
void writeProducts(const std::string& folder, int count, std::mt19937& random);
void writePartners(const std::string& folder, int count, std::mt19937& random);

}  // namespace kavina::generator
