// A point in time as the widget library and the report charts pass it: seconds
// since the epoch, with calendar fields read in local time.
#ifndef ORBE_WIDGETS_CTIME_H_
#define ORBE_WIDGETS_CTIME_H_

#include <compare>
#include <ctime>

class CTime {
 public:
  // What a failed construction holds, as mktime reports failure.
  static constexpr std::time_t kInvalid = -1;

  constexpr CTime() = default;
  constexpr explicit CTime(std::time_t time) : time_(time) {}
  // A local date and time; fields out of range (month 13, 30 February, year
  // before 1900) give an invalid time instead of rolling over.
  CTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

  static CTime GetCurrentTime();

  constexpr std::time_t GetTime() const { return time_; }
  constexpr bool IsValid() const { return time_ != kInvalid; }

  // Calendar fields in local time; 0 for an invalid time.
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  // 1 = Sunday ... 7 = Saturday.
  int GetDayOfWeek() const;

  friend constexpr bool operator==(const CTime& a, const CTime& b) { return a.time_ == b.time_; }
  friend constexpr auto operator<=>(const CTime& a, const CTime& b) { return a.time_ <=> b.time_; }

 private:
  // Local calendar fields; false for an invalid time.
  bool Fields(std::tm& fields) const;

  std::time_t time_ = 0;
};

#endif  // ORBE_WIDGETS_CTIME_H_
