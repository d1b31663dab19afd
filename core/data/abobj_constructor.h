// The base of every stored class (DS_IOF_Item) and of every object parameter set
// (DS_ABObj_Constructor): the stored description from which a live scene object is made.
#pragma once

#include <cstdint>
#include <memory>

#include "core/data/ds_record.h"

class DS_ABObj;

class DS_IOF_Item {
 public:
  virtual ~DS_IOF_Item() = default;
  // Writes this object, header included, calling the stream's writes in the order its reader
  // reads: that order is the record's layout.
  virtual void Write(DS_IOF_Virtual& out) const = 0;
};

class DS_ABObj_Constructor : public DS_IOF_Item {
 public:

  DS_ABObj_Constructor() = default;
  DS_ABObj_Constructor(const DS_ABObj_Constructor&) = default;
  DS_ABObj_Constructor& operator=(const DS_ABObj_Constructor&) = default;

  // The families write their own fields and then their base parts.
  void Write(DS_IOF_Virtual& out) const override { WriteObject(out); }
  // A new live object that owns a copy of this parameter set.
  virtual std::unique_ptr<DS_ABObj> CreateObject() const = 0;
  virtual void NewIdentity() {}
  virtual void Restart() {}
  virtual void ReservedA(uint32_t) {}
  virtual void ReservedB(uint32_t) {}
  virtual void ReservedC(uint32_t) {}
  virtual uint32_t ReservedValue(uint32_t) { return 0; }
  virtual uint32_t ObjectQuery(DS_ABObj*) { return 0; }

  // The innermost base part, nested last in every object's record (an empty stored name leaves
  // the name as it was).
  template <class R>
  void Record(R& r) {
    r.About("The innermost base part of every object's record: the authoring tool's name for the object.");
    r.Field("name", objectName);
  }
  void WriteObject(DS_IOF_Virtual& out) const { DS_WriteRecord(out, *this, "DS_ABObj_Constructor"); }
  void ReadBase(DS_IOF_Virtual& in) { DS_ReadNestedRecord(in, *this); }

  // Not stored: a kind that finds it false centres its object once and sets it.
  bool placed = true;
  // The authoring tool's name for the object.
  ds_string objectName;
};
