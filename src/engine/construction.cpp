#include "engine/construction.h"

#include <cmath>
#include <fmt/format.h>

#include "catalog/lookups.h"
#include "core/cp1251.h"
#include "core/expression.h"
#include "engine/furn_comp.h"
#include "engine/order.h"

namespace kvf {
namespace {

void Offer(TFloatPoint p, TFloatPoint& left, TFloatPoint& top, TFloatPoint& right, TFloatPoint& bottom) {
  if (static_cast<double>(p.X) - left.X <= -0.01) left = p;
  if (static_cast<double>(p.Y) - top.Y <= -0.01) top = p;
  if (static_cast<double>(p.X) - right.X >= 0.01) right = p;
  if (static_cast<double>(p.Y) - bottom.Y >= 0.01) bottom = p;
}

// Names and functions of the catalog's length formulas over one sash.
class TSashFormulaHost : public TExprHost {
 public:
  explicit TSashFormulaHost(TkvfFlugel& sash) : sash_(sash) {}

  bool GetVariable(const std::string& name, TExprValue& value) override {
    int w = 0, h = 0;
    sash_.GetSashSize(w, h);
    if (name == "FН" || name == "FFН" || name == "FRH") value = h;        // the last letter is the Cyrillic En
    else if (name == "FB" || name == "FFB" || name == "FRB") value = w;
    else value = 0;
    return true;
  }

  bool CallFunction(const std::string& name, const std::vector<TExprArg>& args, TExprValue& value) override {
    const std::string upper = AnsiUpperCase(name);
    const int n = args.empty() ? 0 : static_cast<int>(std::trunc(args[0].Value().AsNumber()));
    value = 0;
    auto side = [](const TkvfFlugel* s, int number) -> const TkvfLine* {
      if (!s || number < 1 || number > static_cast<int>(s->FSides.size())) return nullptr;
      return &s->FSides[static_cast<size_t>(number - 1)];
    };
    if (upper == "FFL" || upper == "FL") {
      if (const TkvfLine* l = side(&sash_, n)) {
        const double length = l->GetLength();
        if (length >= 0) value = length;
      }
    } else if (upper == "FFG" || upper == "FG") {
      if (const TkvfLine* l = side(&sash_, n)) value = l->FHandleHeight;
    } else if (upper == "FFGA" || upper == "FGA") {
      if (const TkvfLine* l = side(sash_.GetPartner(), n)) value = l->FHandleHeight;
    }
    return true;
  }

 private:
  TkvfFlugel& sash_;
};

}  // namespace

// ---- TkvfLine ----

TPoint TkvfLine::StartPoint() const { return FFlugel->FPoints[static_cast<size_t>(FStart)].AsPoint(); }
TPoint TkvfLine::EndPoint() const { return FFlugel->FPoints[static_cast<size_t>(FEnd)].AsPoint(); }

double TkvfLine::GetChordLength() const {
  if (!FFlugel || FStart < 0 || FEnd < 0 || FStart >= static_cast<int>(FFlugel->FPoints.size()) ||
      FEnd >= static_cast<int>(FFlugel->FPoints.size()))
    return -1;
  return static_cast<double>(Distance(StartPoint(), EndPoint()));
}

double TkvfLine::GetLength() const { return GetChordLength() / 10; }

bool TkvfLine::IsArc() const { return FRadius != 0 && FRadius <= FRadius2; }
bool TkvfLine::IsHalfCircle() const { return IsArc() && GetChordLength() / 2 == static_cast<double>(FRadius); }
bool TkvfLine::IsSegmentArc() const { return IsArc() && GetChordLength() / 2 != static_cast<double>(FRadius); }
bool TkvfLine::IsElliptic() const { return FRadius != 0 && FRadius2 > 0 && FRadius > FRadius2; }

int TkvfLine::GetSideOrientation() const {
  const long double a = LineAngle(ToFloatPoint(StartPoint()), ToFloatPoint(EndPoint()));
  if (a == 90 || a == 270) return 1;
  if (a == 0 || a == 180) return 0;
  return 3;
}

void TkvfLine::UpdateCentre() {
  FCentre = FRadius != 0 ? ArcCentre(ToFloatPoint(StartPoint()), ToFloatPoint(EndPoint()), FRadius) : TFloatPoint{};
}

void TkvfLine::SetHandle(int height, int direction) {
  if (!FHandled) {
    FHandleHeight = 0;
    FHandleMark = {};
    return;
  }
  FHandleHeight = height;
  const int32_t d = CascadeRound(static_cast<long double>(height) * 10);
  if (direction == 0) {
    const TPoint base = PointAlong(StartPoint(), EndPoint(), d);
    FHandleMark = PolarOffset(base, StartPoint(), EndPoint(), -90, 10);
  } else {
    const TPoint base = PointAlong(EndPoint(), StartPoint(), d);
    FHandleMark = PolarOffset(base, EndPoint(), StartPoint(), 90, 10);
  }
}

// ---- TkvfFlugel ----

TkvfFlugel::TkvfFlugel(TkvfConstruction* owner) : FConstruction(owner) {}
TkvfFlugel::~TkvfFlugel() = default;

void TkvfFlugel::BuildOutline(const TOutlineParams& t, int32_t x0) {
  const int32_t w = t.B, h = t.H, X = t.X;
  std::vector<TPoint> points;
  int arcSide = -1;
  switch (t.Figure) {
    case 3: points = {{x0, h}, {x0, h - X}, {x0 + w, 0}, {x0 + w, h}}; break;
    case 4: points = {{x0, h}, {x0, 0}, {x0 + w, h - X}, {x0 + w, h}}; break;
    case 5: points = {{x0, h}, {x0 + w, 0}, {x0 + w, h}}; break;
    case 6: points = {{x0, h}, {x0, 0}, {x0 + w, h}}; break;
    case 7:
      points = {{x0, h}, {x0, X}, {x0 + w, X}, {x0 + w, h}};
      arcSide = 1;
      break;
    default:
      points = {{x0, h}, {x0, 0}, {x0 + w, 0}, {x0 + w, h}};
      arcSide = 1;
      break;
  }
  const size_t first = FSides.size();
  for (size_t i = 0; i < points.size(); ++i) {
    FPoints.push_back({points[i].X, points[i].Y});
    TkvfLine side;
    side.FFlugel = this;
    if (static_cast<int>(i) == arcSide) {
      side.FRadius = t.R1;
      side.FRadius2 = t.R2;
    }
    FSides.push_back(side);
  }
  (void)first;
  LinkSides();
  UpdateArcCentres();
}

void TkvfFlugel::LinkSides() {
  const int n = static_cast<int>(FPoints.size());
  for (int i = 0; i < static_cast<int>(FSides.size()); ++i) {
    FSides[static_cast<size_t>(i)].FFlugel = this;
    FSides[static_cast<size_t>(i)].FStart = n == 0 ? -1 : i % n;
    FSides[static_cast<size_t>(i)].FEnd = n == 0 ? -1 : (i + 1) % n;
  }
}

void TkvfFlugel::UpdateArcCentres() {
  for (TkvfLine& s : FSides) s.UpdateCentre();
}

TOutlineExtents TkvfFlugel::GetOutlineExtents() const {
  TOutlineExtents e;
  if (FPoints.empty()) return e;
  TFloatPoint left = ToFloatPoint(FPoints[0].AsPoint());
  TFloatPoint top = left, right = left, bottom = left;
  for (size_t i = 1; i < FPoints.size(); ++i) Offer(ToFloatPoint(FPoints[i].AsPoint()), left, top, right, bottom);
  for (const TkvfLine& s : FSides) {
    if (s.FRadius == 0) continue;
    const TFloatPoint c = s.FCentre;
    const float r = s.FRadius;
    const TFloatPoint candidates[] = {{c.X - r, c.Y}, {c.X, c.Y - r}, {c.X + r, c.Y}, {c.X, c.Y + r}};
    for (const TFloatPoint& p : candidates)
      if (PointOnArc(ToFloatPoint(s.StartPoint()), ToFloatPoint(s.EndPoint()), c, p, r))
        Offer(p, left, top, right, bottom);
  }
  e.left = left;
  e.top = top;
  e.right = right;
  e.bottom = bottom;
  e.leftmost = {FloorWithTolerance(left.X), FloorWithTolerance(left.Y)};
  e.topmost = {FloorWithTolerance(top.X), FloorWithTolerance(top.Y)};
  e.rightmost = {CeilWithTolerance(right.X), CeilWithTolerance(right.Y)};
  e.bottommost = {CeilWithTolerance(bottom.X), CeilWithTolerance(bottom.Y)};
  e.width = std::abs(e.rightmost.X - e.leftmost.X);
  e.height = std::abs(e.bottommost.Y - e.topmost.Y);
  return e;
}

void TkvfFlugel::GetSashSize(int& width, int& height) const {
  const TOutlineExtents e = GetOutlineExtents();
  width = ScaleValue(e.width, 10);
  height = ScaleValue(e.height, 10);
}

void TkvfFlugel::GetSashBounds(TPoint& topLeft, TPoint& bottomRight) const {
  const TOutlineExtents e = GetOutlineExtents();
  topLeft = {e.leftmost.X / 10, e.topmost.Y / 10};
  bottomRight = {e.rightmost.X / 10, e.bottommost.Y / 10};
}

const TkvfLine& TkvfFlugel::PrevSide(int index) const {
  const int n = static_cast<int>(FSides.size());
  return FSides[static_cast<size_t>((index - 1 + n) % n)];
}

float TkvfFlugel::GetCornerAngle(int index) const {
  const TkvfLine& s = FSides[static_cast<size_t>(index)];
  const TkvfLine& p = PrevSide(index);
  return static_cast<float>(CornerAngle(ToFloatPoint(p.StartPoint()), ToFloatPoint(s.StartPoint()),
                                        ToFloatPoint(s.EndPoint()), p.FRadius, s.FRadius, p.FCentre, s.FCentre));
}

int TkvfFlugel::FirstHandleSide() const {
  for (size_t i = 0; i < FSides.size(); ++i)
    if (FSides[i].FHandled) return static_cast<int>(i);
  return -1;
}

int TkvfFlugel::GetHandleHeight() const {
  const int i = FirstHandleSide();
  return i < 0 ? 0 : FSides[static_cast<size_t>(i)].FHandleHeight;
}

TkvfFlugel* TkvfFlugel::GetPartner() const {
  if (!FConstruction) return nullptr;
  return this == FConstruction->FFlugel1.get() ? FConstruction->FFlugel2.get() : FConstruction->FFlugel1.get();
}

double TkvfFlugel::EvalFormula(const std::string& text) {
  TSashFormulaHost host(*this);
  return EvaluateExpression(text, host).AsNumber();
}

void TkvfFlugel::SetFittings(const std::string& furnSys, const std::string& profSys, const std::string& color,
                             const TkvfSashChoice& choice) {
  const std::string complects[7] = {choice.FComplect, choice.FHandle, choice.FHinge, choice.FLock,
                                    choice.FCylinder, choice.FDrive, choice.FLatch};
  bool empty = true;
  for (const std::string& c : complects) empty = empty && c.empty();
  std::string addText;
  for (const std::string& line : choice.FAddComplects) addText += line;
  if (empty && addText.empty()) {
    ClearFittings();
    return;
  }
  const bool created = !FComplement;
  if (created) FComplement = std::make_unique<TkvfFurnComp>(this);
  FDornType = choice.FDornType;
  try {
    FComplement->SetComplement(furnSys, profSys, color, complects, choice.FUserDefineHeight, choice.FUserHandleHeight,
                               &choice.FProperties, &choice.FAddComplects);
    CheckPartnerSystem();
  } catch (...) {
    if (created) ClearFittings();
    throw;
  }
}

void TkvfFlugel::PreviewFittings(const TkvfSashChoice& choice) {
  const std::string complects[7] = {choice.FComplect, choice.FHandle, choice.FHinge, choice.FLock,
                                    choice.FCylinder, choice.FDrive, choice.FLatch};
  bool empty = true;
  for (const std::string& c : complects) empty = empty && c.empty();
  if (empty) {
    ClearFittings();
    return;
  }
  const bool created = !FComplement;
  if (created) FComplement = std::make_unique<TkvfFurnComp>(this);
  try {
    FComplement->SetComplects(complects, choice.FUserDefineHeight, choice.FUserHandleHeight);
  } catch (...) {
    if (created) ClearFittings();
    throw;
  }
}

void TkvfFlugel::ClearFittings() {
  if (FComplement) {
    FComplement.reset();
    for (TkvfLine& s : FSides) {
      s.FOpenMark = false;
      s.FApexSide = -1;
      s.FHandled = s.FHinged = s.FDriven = false;
    }
  }
  CheckPartnerSystem();
}

void TkvfFlugel::CheckPartnerSystem() {
  if (!FConstruction || FConstruction->FSashLayout == 2) return;
  TkvfFlugel* passive =
      FConstruction->FSashLayout == 1 ? FConstruction->FFlugel1.get() : FConstruction->FFlugel2.get();
  if (!passive || passive == this || !passive->FComplement) return;
  if (!FComplement || FComplement->FFurnSys != passive->FComplement->FFurnSys) passive->ClearFittings();
}

// ---- TkvfConstruction ----

TkvfConstruction::TkvfConstruction(TkvfOrder* order)
    : FFlugel1(std::make_unique<TkvfFlugel>(this)), FFlugel2(std::make_unique<TkvfFlugel>(this)), FOrder(order) {}

TkvfConstruction::~TkvfConstruction() = default;

void TkvfConstruction::BuildOutlines(const TOutlineParams& p, int32_t dornType) {
  auto tenths = [](int v) { return CascadeRound(static_cast<long double>(v) * 10); };
  TOutlineParams t;
  t.B = tenths(p.B);
  t.H = tenths(p.H);
  t.Figure = p.Figure;
  t.X = tenths(p.X);
  t.Y = tenths(p.Y);
  t.R1 = p.R1 * 10;
  t.R2 = p.R2 * 10;
  if (FSashLayout == 2) {
    FFlugel1->BuildOutline(t, 0);
    FFlugel1->FDornType = dornType;
    return;
  }
  TOutlineParams left = t, right = t;
  left.B = t.X;
  left.Figure = 0;
  right.B = t.Y;
  right.Figure = 0;
  FFlugel1->BuildOutline(left, 0);
  FFlugel2->BuildOutline(right, t.X);
  FFlugel1->FDornType = dornType;
  FFlugel2->FDornType = dornType;
}

void TkvfConstruction::GetConstructionSize(int& width, int& height) const {
  FFlugel1->GetSashSize(width, height);
  if (FSashLayout == 2) return;
  int w2 = 0, h2 = 0;
  FFlugel2->GetSashSize(w2, h2);
  width += w2;
}

void TkvfConstruction::SetFittings(const TkvfFittingsChoice& c) {
  FFurnSys = c.FFurnSys;
  FProfSys = c.FProfSys;
  FFurnColor = c.FFurnColor;
  FFalzType = c.FFalzType;
  FStulpType = c.FStulpType;
  FFlugelType = c.FFlugelType;
  FProfWidth = c.FProfWidth;
  FProfThickness = c.FProfThickness;
  switch (FSashLayout) {
    case 2:
      FFlugel1->SetFittings(FFurnSys, FProfSys, FFurnColor, c.sash1);
      ClearSashFittings(2);
      break;
    case 1:
      FFlugel2->SetFittings(FFurnSys, FProfSys, FFurnColor, c.sash2);
      FFlugel1->SetFittings(FFurnSys, FProfSys, FFurnColor, c.sash1);
      break;
    default:
      FFlugel1->SetFittings(FFurnSys, FProfSys, FFurnColor, c.sash1);
      FFlugel2->SetFittings(FFurnSys, FProfSys, FFurnColor, c.sash2);
      break;
  }
  RecalcPrice();
}

void TkvfConstruction::PreviewFittings(const TkvfFittingsChoice& c) {
  FFlugel1->PreviewFittings(c.sash1);
  if (FSashLayout == 2) {
    ClearSashFittings(2);
  } else {
    FFlugel2->PreviewFittings(c.sash2);
  }
}

void TkvfConstruction::ClearSashFittings(int sash) { (sash == 1 ? FFlugel1 : FFlugel2)->FComplement.reset(); }

TMoney TkvfConstruction::GetCost() const { return FPrice * static_cast<double>(FNumber); }

std::vector<std::string> TkvfConstruction::ListComplectNames() const {
  std::vector<std::string> names;
  for (const TkvfFlugel* sash : {FFlugel1.get(), FFlugel2.get()}) {
    if (!sash->FComplement) continue;
    const TkvfFurnComp& c = *sash->FComplement;
    for (const std::string* id : {&c.FComplect, &c.FHandle, &c.FHinge, &c.FCylinder, &c.FDrive})
      if (!id->empty()) names.push_back(FindComplectName(*id).second);
  }
  return names;
}

TkvfFurnComp* TkvfConstruction::FirstComplement() {
  FSecondPending = FSashLayout != 2;
  return FFlugel1->FComplement.get();
}

TkvfFurnComp* TkvfConstruction::NextComplement() {
  TkvfFurnComp* next = FSashLayout != 2 && FSecondPending ? FFlugel2->FComplement.get() : nullptr;
  FSecondPending = false;
  return next;
}

// ---- TkvfOrder ----

TkvfOrder::TkvfOrder() = default;
TkvfOrder::~TkvfOrder() = default;

std::unique_ptr<TkvfConstruction> TkvfOrder::NewPosition() { return std::make_unique<TkvfConstruction>(this); }

}  // namespace kvf
