#include "store/rating_type.h"

namespace tessik {

RatingType RatingTypeFromServer(std::string_view wildNumber, std::string_view ratingTypeName) {
  if (wildNumber == "17" || wildNumber == "26") return kRatingLosers;
  if (wildNumber == "23") return kRatingCrazyhouse;
  if (wildNumber == "0") {
    if (ratingTypeName == "Bullet") return kRatingBullet;
    if (ratingTypeName == "Blitz") return kRatingBlitz;
    if (ratingTypeName == "Standard") return kRatingStandard;
    if (ratingTypeName == "5-minute") return kRating5Minute;
    if (ratingTypeName == "1-minute") return kRating1Minute;
    if (ratingTypeName == "15-minute") return kRating15Minute;
  }
  if (ratingTypeName == "Wild") return kRatingWild;
  return kNoRatingType;
}

std::string_view RatingTypeSuffix(RatingType type) {
  switch (type) {
    case kRatingWild:
      return " in wild";
    case kRatingLosers:
      return " in loser's";
    case kRatingCrazyhouse:
      return " in crazyhouse";
    case kRatingBullet:
      return " in bullet";
    case kRatingBlitz:
      return " in blitz";
    case kRatingStandard:
      return " standard";
    case kRating5Minute:
      return " in 5-minute";
    case kRating1Minute:
      return " in 1-minute";
    case kRating15Minute:
      return " in 15-minute";
    default:
      return "";
  }
}

}  // namespace tessik
