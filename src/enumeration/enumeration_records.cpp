// The records of the enumeration tree own their lists, and the lists of records own the records.
#include "enumeration/device_enumeration.h"

namespace {

// Deletes every record a pointer list holds, then the list itself.
template <typename Record>
void DeleteRecordList(ArrayList* list) {
    if (list == nullptr) return;
    for (UINT index = 0; index < list->Count(); ++index) delete static_cast<Record*>(list->ItemAt(index));
    delete list;
}

}  // namespace

DeviceCombo::~DeviceCombo() {
    delete depthStencilFormats;
    delete multisampleTypes;
    delete multisampleQualityLevels;
    delete depthMultisampleConflicts;
    delete vertexProcessingTypes;
    delete presentIntervals;
}

DeviceInfo::~DeviceInfo() { DeleteRecordList<DeviceCombo>(deviceCombos); }

AdapterInfo::~AdapterInfo() {
    delete displayModes;
    DeleteRecordList<DeviceInfo>(deviceInfos);
}
