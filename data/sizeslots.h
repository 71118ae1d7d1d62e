#pragma once
// The size slots: quantities of a goods item are kept per size in the 30
// integer columns s1 ... s30. Slot k holds the size that comes k-th when the
// sizes of the item's size group are read in ascending displayindex; slots
// beyond the group's sizes are unused. Every window that maps sizes to slots
// goes through here.
#include <QString>
#include <QStringList>

namespace md {

inline constexpr int kSizeSlotMax = 30;

// The quantity column of slot k (1-based): "s1" ... "s30".
QString SizeSlotColumn(int slot);
// The slot's name as ba_size.fieldname and the size grids show it: "S1" ... "S30".
QString SizeSlotFieldName(int slot);
// The captions of the slots in use, "S1" ... "Sn" with n = count, at most 30;
// by default n is the database's SizeSlotCount loaded at start.
QStringList SizeSlotCaptions();
QStringList SizeSlotCaptions(int count);

// The text that reads a group's sizes in slot order.
QString GroupSizesQuery(const QString& group);
// A group's sizes as stored, in slot order (at most 30; a 31st has no slot).
QStringList GroupSizes(const QString& group);
// The slot (1-based) of a size among a group's sizes, 0 when the group has no
// such size. Sizes compare as the server compares them: letter case and
// trailing blanks do not count.
int SizeSlotOf(const QStringList& groupSizes, const QString& sizeName);

}  // namespace md
