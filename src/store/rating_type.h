// Rating categories of the server, one bit each, so that a mask can select several.
#pragma once

#include <cstdint>
#include <string_view>

namespace tessik {

using RatingType = int32_t;

inline constexpr RatingType kRatingWild = 1;
inline constexpr RatingType kRatingLosers = 2;
inline constexpr RatingType kRatingCrazyhouse = 4;
inline constexpr RatingType kRatingBullet = 8;
inline constexpr RatingType kRatingBlitz = 16;
inline constexpr RatingType kRatingStandard = 32;
inline constexpr RatingType kRating5Minute = 64;
inline constexpr RatingType kRating1Minute = 128;
inline constexpr RatingType kRating15Minute = 256;
inline constexpr RatingType kNoRatingType = 0;
inline constexpr RatingType AnyRatingType = -1;

// The type of a match or game from the server's variant number and rating-type name, both
// compared as exact texts; 0 when none matches.
RatingType RatingTypeFromServer(std::string_view wildNumber, std::string_view ratingTypeName);

// The text shown behind the opponent's name in score lines; empty for anything but one flag.
std::string_view RatingTypeSuffix(RatingType type);

}  // namespace tessik
