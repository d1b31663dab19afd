#include "core/data/abobj_constructor.h"

void DS_ABObj_Constructor::WriteObject(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_ABObj_Constructor", kBaseVersion);
  out.WriteString(objectName);
}

void DS_ABObj_Constructor::ReadBase(DS_IOF_Virtual& in) {
  DS_ReadHeader(in);
  in.ReadString(objectName);
}
