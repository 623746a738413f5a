// The record layouts of the order file: order, currency rate, position, sash,
// point, side, complement, item and material line, with every older layout.
#include <algorithm>
#include <fmt/format.h>

#include "core/cp1251.h"
#include "core/datetime.h"
#include "core/document_file.h"
#include "core/error.h"
#include "core/prompts.h"
#include "core/spec_stream.h"
#include "engine/furn_comp.h"
#include "engine/order.h"
#include "engine/order_format.h"

namespace kvf {
namespace {

using namespace order_format;

constexpr size_t kValue = TSpecStream::kValueSize;
constexpr size_t kStrMin = TSpecStream::kMinStrSize;


void SaveItem(TSpecStream& s, const TkvfFurnItem& i) {
  s.WriteStr(i.FArticle);
  s.WriteFloat(i.FLength);
  s.WriteInt(i.FCount);
  s.WriteStr(i.FHistory);
  s.WriteStr(i.FComment);
  s.WriteInt(i.FSideNo);
  s.WriteInt(i.FSpare1);
  s.WriteInt(i.FSpare2);
  s.WriteInt(i.FSpare3);
  s.WriteStr(i.FParentComplect);
}

TkvfFurnItem LoadItem(TSpecStream& s, const TRecordLayout& v) {
  TkvfFurnItem i;
  i.FArticle = s.ReadStr();
  i.FLength = s.ReadSingle();
  i.FCount = s.ReadInt();
  if (v.history) i.FHistory = s.ReadStr();
  if (v.comment) i.FComment = s.ReadStr();
  if (v.current) {
    i.FSideNo = s.ReadInt();
    i.FSpare1 = s.ReadInt();
    i.FSpare2 = s.ReadInt();
    i.FSpare3 = s.ReadInt();
    i.FParentComplect = s.ReadStr();
  }
  return i;
}

void SaveMaterial(TSpecStream& s, const TkvfMatListItem& m) {
  s.WriteStr(m.FArticle);
  s.WriteFloat(m.FNumber);
  s.WriteMoney(m.FBasePrice);
  s.WriteFloat(m.FSpareFloat);
  s.WriteMoney(m.FDiscount);
  s.WriteMoney(m.FPrice);
  s.WriteMoney(m.FCost);
}

TkvfMatListItem LoadMaterial(TSpecStream& s) {
  TkvfMatListItem m;
  m.FArticle = s.ReadStr();
  m.FNumber = s.ReadSingle();
  m.FBasePrice = s.ReadMoney();
  m.FSpareFloat = s.ReadSingle();
  m.FDiscount = s.ReadMoney();
  m.FPrice = s.ReadMoney();
  m.FCost = s.ReadMoney();
  return m;
}

void SaveComplement(TSpecStream& s, const TkvfFurnComp& c) {
  for (const std::string* text : {&c.FFurnSys, &c.FProfSys, &c.FColor, &c.FComplect, &c.FHinge, &c.FHandle})
    s.WriteStr(*text);
  s.WriteInt(c.FUserHandleHeight);
  s.WriteBool(c.FUserDefineHeight);
  for (const std::string* text : {&c.FLock, &c.FCylinder, &c.FDrive, &c.FLatch}) s.WriteStr(*text);
  for (int32_t v : {c.FComplectImage, c.FHandleImage, c.FHingeImage, c.FDriveImage, c.FSpareImage, c.FHandleColor,
                    c.FHingeColor, c.FDriveColor, c.FSpareColor})
    s.WriteInt(v);
  s.WriteLines(c.FProperties);
  s.WriteLines(c.FAddComplects);
  s.WriteInt(static_cast<int32_t>(c.Items.size()));
  for (const TkvfFurnItem& i : c.Items) SaveItem(s, i);
}

void LoadComplement(TSpecStream& s, TkvfFurnComp& c, const TRecordLayout& v) {
  for (std::string* text : {&c.FFurnSys, &c.FProfSys, &c.FColor, &c.FComplect, &c.FHinge, &c.FHandle})
    *text = s.ReadStr();
  c.FUserHandleHeight = s.ReadInt();
  c.FUserDefineHeight = s.ReadBool();
  for (std::string* text : {&c.FLock, &c.FCylinder, &c.FDrive, &c.FLatch}) *text = s.ReadStr();
  for (int32_t* v2 : {&c.FComplectImage, &c.FHandleImage, &c.FHingeImage, &c.FDriveImage, &c.FSpareImage,
                      &c.FHandleColor, &c.FHingeColor, &c.FDriveColor, &c.FSpareColor})
    *v2 = s.ReadInt();
  c.FProperties = s.ReadLines();
  c.FAddComplects = s.ReadLines();
  c.Items.clear();
  const int32_t n = s.ReadCount(kStrMin + 2 * kValue, "элементы комплектации");
  c.Items.reserve(static_cast<size_t>(n));
  for (int32_t k = 0; k < n; ++k) c.Items.push_back(LoadItem(s, v));
}

}  // namespace

TRecordLayout::TRecordLayout(const std::string& v)
    : types(IsVersionNotOlder(v, kTypesVersion)),
      history(IsVersionNotOlder(v, kHistoryVersion)),
      comment(IsVersionNotOlder(v, kCommentVersion)),
      sashDorn(IsVersionNotOlder(v, kSashDornVersion)),
      current(IsVersionNotOlder(v, kVersion)) {}

void TkvfFlugel::SaveToStream(TSpecStream& s) const {
  s.WriteInt(static_cast<int32_t>(FPoints.size()));
  for (const TkvfPoint& p : FPoints) {
    s.WriteInt(p.FX);
    s.WriteInt(p.FY);
  }
  s.WriteInt(static_cast<int32_t>(FSides.size()));
  for (const TkvfLine& l : FSides) {
    s.WriteFloat(l.FRadius);
    s.WriteFloat(l.FRadius2);
    s.WriteFloat(l.FCentre.X);
    s.WriteFloat(l.FCentre.Y);
    s.WriteBool(l.FOpenMark);
    s.WriteInt(l.FApexSide);
    s.WriteBool(l.FHandled);
    s.WriteBool(l.FHinged);
    s.WriteBool(l.FDriven);
    s.WriteInt(l.FHandleHeight);
    s.WriteInt(l.FHandleMark.X);
    s.WriteInt(l.FHandleMark.Y);
  }
  s.WriteInt(FDornType);
  s.WriteBool(FComplement != nullptr);
  if (FComplement) SaveComplement(s, *FComplement);
  s.WriteInt(static_cast<int32_t>(FMatList.size()));
  for (const TkvfMatListItem& m : FMatList) SaveMaterial(s, m);
}

void TkvfFlugel::LoadFromStream(TSpecStream& s, const std::string& version) { LoadRecord(s, TRecordLayout(version)); }

void TkvfFlugel::LoadRecord(TSpecStream& s, const TRecordLayout& v) {
  FPoints.clear();
  FSides.clear();
  FMatList.clear();
  FComplement.reset();
  const int32_t points = s.ReadCount(2 * kValue, "точки");
  for (int32_t k = 0; k < points; ++k) {
    TkvfPoint p;
    p.FX = s.ReadInt();
    p.FY = s.ReadInt();
    FPoints.push_back(p);
  }
  const int32_t sides = s.ReadCount(12 * kValue, "стороны");
  if (sides != points) throw EKvfError(fmt::format("Число сторон створки ({}) не равно числу точек ({})", sides, points));
  for (int32_t k = 0; k < sides; ++k) {
    TkvfLine l;
    l.FRadius = s.ReadSingle();
    l.FRadius2 = s.ReadSingle();
    l.FCentre.X = s.ReadSingle();
    l.FCentre.Y = s.ReadSingle();
    l.FOpenMark = s.ReadBool();
    l.FApexSide = s.ReadInt();
    l.FHandled = s.ReadBool();
    l.FHinged = s.ReadBool();
    l.FDriven = s.ReadBool();
    l.FHandleHeight = s.ReadInt();
    l.FHandleMark.X = s.ReadInt();
    l.FHandleMark.Y = s.ReadInt();
    FSides.push_back(l);
  }
  LinkSides();
  FDornType = v.sashDorn ? s.ReadInt() : 0;
  if (s.ReadBool()) {
    FComplement = std::make_unique<TkvfFurnComp>(this);
    LoadComplement(s, *FComplement, v);
  }
  const int32_t lines = s.ReadCount(kStrMin + 6 * kValue, "материалы");
  for (int32_t k = 0; k < lines; ++k) FMatList.push_back(LoadMaterial(s));
}

void TkvfConstruction::SaveToStream(TSpecStream& s) const {
  s.WriteBool(FIncluded);
  s.WriteStr(FPosNo);
  s.WriteStr(FName);
  s.WriteInt(FNumber);
  s.WriteByte(FObjectType);
  s.WriteStr(FFurnSys);
  s.WriteStr(FProfSys);
  s.WriteStr(FFurnColor);
  s.WriteInt(FFalzType);
  s.WriteInt(FStulpType);
  s.WriteFloat(FProfWidth);
  s.WriteFloat(FProfThickness);
  s.WriteInt(FFlugelType);
  s.WriteMoney(FPrice);
  s.WriteLines(FNote);
  s.WriteByte(FSashLayout);
  FFlugel1->SaveToStream(s);
  FFlugel2->SaveToStream(s);
}

void TkvfConstruction::LoadFromStream(TSpecStream& s, const std::string& version) {
  LoadRecord(s, TRecordLayout(version));
}

void TkvfConstruction::LoadRecord(TSpecStream& s, const TRecordLayout& v) {
  FNote.clear();
  FIncluded = s.ReadBool();
  FPosNo = s.ReadStr();
  FName = s.ReadStr();
  FNumber = s.ReadInt();
  FObjectType = s.ReadByte();
  FFurnSys = s.ReadStr();
  FProfSys = s.ReadStr();
  FFurnColor = s.ReadStr();
  if (!v.types) {
    s.ReadStr();
    s.ReadStr();
  }
  FFalzType = s.ReadInt();
  const bool positionDorn = !v.sashDorn;
  const int32_t dornType = positionDorn ? s.ReadInt() : 0;
  FStulpType = s.ReadInt();
  FProfWidth = s.ReadSingle();
  FProfThickness = s.ReadSingle();
  FFlugelType = s.ReadInt();
  FPrice = s.ReadMoney();
  FNote = s.ReadLines();
  FSashLayout = s.ReadByte();
  FFlugel1->LoadRecord(s, v);
  FFlugel2->LoadRecord(s, v);
  if (positionDorn) FFlugel1->FDornType = FFlugel2->FDornType = dornType;
}

void TkvfConstruction::CopyFrom(const TkvfConstruction& other) {
  try {
    TSpecStream s;
    other.SaveToStream(s);
    s.Seek(0);
    LoadFromStream(s, kVersion);
  } catch (const std::exception& e) {
    throw EKvfError(fmt::format("Ошибка копирования позиции!\r\n({})", e.what()));
  }
}

void TkvfConstruction::SaveBackup(TSpecStream& s) const {
  try {
    SaveToStream(s);
  } catch (const std::exception& e) {
    throw EKvfError(fmt::format("Ошибка создания резервной копии объекта!\r\n({})", e.what()));
  }
}

void TkvfConstruction::RestoreBackup(TSpecStream& s) {
  try {
    s.Seek(0);
    LoadFromStream(s, kVersion);
  } catch (const std::exception& e) {
    throw EKvfError(fmt::format("Ошибка восстановления объекта из резервной копии!\r\n({})", e.what()));
  }
}

void AssignMaterial(TkvfMatListItem& target, const TkvfMatListItem& source) {
  try {
    TSpecStream s;
    SaveMaterial(s, source);
    s.Seek(0);
    target = LoadMaterial(s);
  } catch (const std::exception& e) {
    ShowError(fmt::format("Ошибка копирования материала!\r\n({})", e.what()));
  }
}

void TkvfOrder::ResetToDefaults() {
  FHeader = kHeader;
  FVersion = kVersion;
  FReserved1 = FReserved2 = FReserved3 = 0;
  FOrderNo.clear();
  FAltOrderNo.clear();
  FCustomer.clear();
  FObjectName.clear();
  FAddress.clear();
  FPhones.clear();
  FRemark.clear();
  FRegDate = Today();
  FRegDateChecked = true;
  FProfSys.clear();
  FInnerProfColor.clear();
  FOuterProfColor.clear();
  FFurnSys.clear();
  FFurnColor.clear();
  FHandle.clear();
  FLegacyText1.clear();
  FLegacyText2.clear();
  FMaterial = 0;
  FFalzType = FDornType = FStulpType = FFlugelType = 0;
  FPriceGroupNo = 0;
  FNDSTax = 18;
  FTotalNDS = FShowIncludingNDS = true;
  FCurrencyRates.clear();
  FCurrencyID = 0;
  FNote.clear();
  Positions.clear();
  cursor_ = 0;
}

void TkvfOrder::SaveToStream(TSpecStream& s) {
  size_t estimate = 4096;  // the buffer grows once instead of doubling through the whole file
  for (const auto& p : Positions)
    for (const TkvfFlugel* sash : {p->FFlugel1.get(), p->FFlugel2.get()})
      estimate += 1024 + sash->FSides.size() * 200 + sash->FMatList.size() * 140 +
                  (sash->FComplement ? 600 + sash->FComplement->Items.size() * 200 : 0);
  s.Reserve(s.Size() + estimate);
  FVersion = kVersion;
  s.WriteStr(FHeader);
  s.WriteStr(FVersion);
  s.WriteInt(FReserved1);
  s.WriteInt(FReserved2);
  s.WriteDate(FCreated1);
  s.WriteDate(FCreated2);
  s.WriteInt(FReserved3);
  for (const std::string* text : {&FOrderNo, &FAltOrderNo, &FCustomer, &FObjectName, &FAddress, &FPhones, &FRemark})
    s.WriteStr(*text);
  s.WriteDate(FRegDate);
  s.WriteBool(FRegDateChecked);
  for (const std::string* text : {&FProfSys, &FInnerProfColor, &FOuterProfColor, &FFurnSys, &FFurnColor, &FHandle})
    s.WriteStr(*text);
  s.WriteInt(FFalzType);
  s.WriteInt(FDornType);
  s.WriteInt(FStulpType);
  s.WriteInt(FFlugelType);
  s.WriteInt(FPriceGroupNo);
  s.WriteFloat(FNDSTax);
  s.WriteBool(FTotalNDS);
  s.WriteBool(FShowIncludingNDS);
  WriteCurrencyRates(s, FCurrencyRates);
  s.WriteInt(FCurrencyID);
  s.WriteLines(FNote);
  s.WriteInt(static_cast<int32_t>(Positions.size()));
  for (const auto& p : Positions) p->SaveToStream(s);
}

bool TkvfOrder::LoadFromStream(TSpecStream& s, bool& converted) {
  converted = false;
  ResetToDefaults();
  if (!s.StartsWithStr(kHeader)) {
    ShowError("Данный файл не является файлом заказа!");
    return false;
  }
  FHeader = s.ReadStr();
  FVersion = s.ReadStr();
  FReserved1 = s.ReadInt();
  FReserved2 = s.ReadInt();
  FCreated1 = s.ReadDate();
  FCreated2 = s.ReadDate();
  FReserved3 = s.ReadInt();
  const std::string v = FVersion;
  if (v != kVersion) {
    if (IsVersionOlder(v, kVersion)) {
      if (!AskConfirm(fmt::format("Необходимо конвертировать файл заказа!\r\nЗагружаемая версия: {}\r\nТекущая версия: {}",
                                  v, kVersion)))
        return false;
      converted = true;
    } else {
      ShowWarning(fmt::format("Вы пытаетесь открыть заказ, созданный более новой версией программы, чем текущая.\r\n"
                              "Данный модуль технолога поддерживает файлы заказа\r\nверсии не старше: {}!\r\n"
                              "Загружаемая версия: {}",
                              kVersion, v));
      return false;
    }
  }
  const TRecordLayout layout(v);
  for (std::string* text : {&FOrderNo, &FAltOrderNo, &FCustomer, &FObjectName, &FAddress, &FPhones, &FRemark})
    *text = s.ReadStr();
  FRegDate = s.ReadDate();
  FRegDateChecked = s.ReadBool();
  for (std::string* text : {&FProfSys, &FInnerProfColor, &FOuterProfColor, &FFurnSys, &FFurnColor, &FHandle})
    *text = s.ReadStr();
  if (layout.types) {
    FFalzType = s.ReadInt();
    FDornType = s.ReadInt();
    FStulpType = s.ReadInt();
    FFlugelType = s.ReadInt();
  } else {
    FLegacyText1 = s.ReadStr();
    FLegacyText2 = s.ReadStr();
  }
  FPriceGroupNo = s.ReadInt();
  FNDSTax = s.ReadSingle();
  FTotalNDS = s.ReadBool();
  FShowIncludingNDS = s.ReadBool();
  FCurrencyRates = ReadCurrencyRates(s);
  FCurrencyID = s.ReadInt();
  FNote = s.ReadLines();
  Positions.clear();
  const int32_t positions = s.ReadCount(10 * kValue, "позиции");
  for (int32_t k = 0; k < positions; ++k) {
    auto p = NewPosition();
    p->LoadRecord(s, layout);
    Positions.push_back(std::move(p));
  }
  return true;
}

bool TkvfOrder::SaveToFile(const std::string& fileName) {
  return SaveDocumentFile(fileName, "Ошибка сохранения заказа", [this](TSpecStream& s) { SaveToStream(s); });
}

bool TkvfOrder::LoadFromFile(const std::string& fileName, bool& converted) {
  converted = false;
  return LoadDocumentFile(fileName, "Ошибка загрузки заказа",
                          [&](TSpecStream& s) { return LoadFromStream(s, converted); });
}

void TkvfOrder::DeletePosition(int index) {
  if (index >= 0 && index < Count()) Positions.erase(Positions.begin() + index);
}

TkvfConstruction* TkvfOrder::FindPosition(const std::string& posNo) const {
  for (const auto& p : Positions)
    if (SameTextI(p->FPosNo, posNo)) return p.get();
  return nullptr;
}

int TkvfOrder::IncludedCount() const {
  return static_cast<int>(std::count_if(Positions.begin(), Positions.end(), [](const auto& p) { return p->FIncluded; }));
}

TkvfConstruction* TkvfOrder::FirstIncluded() {
  cursor_ = 0;
  return NextIncluded();
}

TkvfConstruction* TkvfOrder::NextIncluded() {
  while (cursor_ < Count()) {
    TkvfConstruction* p = Positions[static_cast<size_t>(cursor_++)].get();
    if (p->FIncluded) return p;
  }
  return nullptr;
}

TMoney TkvfOrder::GetTotal() const {
  TMoney total;
  for (const auto& p : Positions)
    if (p->FIncluded) total += p->GetCost();
  return total;
}

TMoney TkvfOrder::GetNDS() const {
  if (!FTotalNDS) return {};
  return GetTotal() * (static_cast<double>(FNDSTax) / 100);
}

void TkvfOrder::SortByPosNo() {
  std::sort(Positions.begin(), Positions.end(),
            [](const auto& a, const auto& b) { return CompareCp1251(a->FPosNo, b->FPosNo) < 0; });
}

void TkvfOrder::SortByName() {
  std::sort(Positions.begin(), Positions.end(),
            [](const auto& a, const auto& b) { return CompareCp1251(a->FName, b->FName) < 0; });
}

void TkvfOrder::CollectMaterials(TkvfMatList& list) const {
  TMaterialMerger merger(list);
  for (const auto& p : Positions)
    if (p->FIncluded) p->AddMaterialsTo(merger);
}

}  // namespace kvf
