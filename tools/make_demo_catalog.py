#!/usr/bin/env python3
"""Writes the demo fittings catalog of Korvane as CSV files (data/catalog/).

The catalog describes an invented manufacturer's turn-tilt fittings for PVC
windows and doors: two systems of one hundred (1200 standard, 1210 security),
a door system, profile systems, colours, gears by FFH class, stay arms by FFB
class, middle locks counted by steps and thresholds, cut-to-length rods,
strike plates per profile system, colour covers and accessories.
Run it after changing the tables below; the CSV files are what the program
and the tests read.
"""
import csv
import os
import sys

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data", "catalog")

tables = {}


def add(table, **row):
    tables.setdefault(table, []).append(row)


COLOR_NAMES = [("WH", "Белый (RAL 9016)", "белый"), ("BR", "Коричневый (RAL 8019)", "коричневый"),
               ("SL", "Серебро", "серебро"), ("GD", "Золото", "золото"), ("AN", "Антрацит", "антрацит"),
               ("BZ", "Бронза", "бронза")]
for code, name, _ in COLOR_NAMES:
    add("COLORSET", Color=code, Name=name)
# (code, the word used in article names)
COLORS = [(code, word) for code, _, word in COLOR_NAMES]

# Currencies: rates against the rouble.
add("Currency", ID=1, Name="RUB", Nominative="рубль", Genitive="рубля", GenitivePlural="рублей", Gender=0, Dec=2,
    Value="1", DecNominative="копейка", DecGenitive="копейки", DecGenitivePlural="копеек", DecGender=1)
add("Currency", ID=2, Name="EUR", Nominative="евро", Genitive="евро", GenitivePlural="евро", Gender=0, Dec=2,
    Value="95.5", DecNominative="цент", DecGenitive="цента", DecGenitivePlural="центов", DecGender=0)
add("Currency", ID=3, Name="USD", Nominative="доллар", Genitive="доллара", GenitivePlural="долларов", Gender=0,
    Dec=2, Value="88.2", DecNominative="цент", DecGenitive="цента", DecGenitivePlural="центов", DecGender=0)

add("PriceGrp", GroupID=1, Name="Базовая", **{f"Reduce_{i}": "0" for i in range(1, 11)})
add("PriceGrp", GroupID=2, Name="Оптовая", **{f"Reduce_{i}": str(-5 * i) for i in range(1, 11)})
add("PriceGrp", GroupID=3, Name="Розничная", **{f"Reduce_{i}": str(15 + i) for i in range(1, 11)})

SYSTEMS = [("1200", 1, "Korvane Комфорт", "Комфорт", 1200, "WH"),
           ("1210", 1, "Korvane Комфорт RC", "Комфорт RC", 1210, "SL"),
           ("1300", 1, "Korvane Дверь", "Дверь", 1300, "SL")]
for sid, group, name, short, common, base in SYSTEMS:
    add("SysList", ID=sid, Group=group, Name=name, ShortName=short, Use=1, CommonGrp=common, BaseColor=base)
    for code, _ in COLORS:
        add("SysColor", ID=code, System=sid, Article=f"C-{sid}-{code}")

for sid, fsys, name in [("P58", "1200", "Профиль 58 мм, 3 камеры"), ("P70", "1200", "Профиль 70 мм, 5 камер"),
                        ("P82", "1200", "Профиль 82 мм, 6 камер"), ("D70", "1300", "Дверной профиль 70 мм")]:
    add("SysProf", SchlSysID=sid, FurnSysID=fsys, Name=name)

# Property values: tens are one property.
for pid, group, value, printable in [(21, "Класс защиты", "Стандарт", 1), (22, "Класс защиты", "RC1", 1),
                                     (23, "Класс защиты", "RC2", 1), (31, "Проветривание", "Без щелевого", 0),
                                     (32, "Проветривание", "Щелевое проветривание", 1)]:
    add("SysProp", ID=pid, GroupName=group, ValueName=value, Printable=printable, Use=1,
        PrintName=f"{group}: {value}")

# Installation parameter lists.
for pid, name, luft, size, pos in [(101, "12/20-9", 12, 20, 9), (102, "12/20-13", 12, 20, 13),
                                   (103, "4/18-13", 4, 18, 13)]:
    add("ParamList", ID=pid, Group=1, Name=name, FalzLuft=luft, FalzSize=size, FalzPos=pos)
for pid, name, dorn in [(201, "Дорнмасс 15 мм", "15"), (202, "Дорнмасс 25 мм", "25"),
                        (203, "Дорнмасс 35 мм", "35"), (204, "Дорнмасс 45 мм", "45")]:
    add("ParamList", ID=pid, Group=2, Name=name, DornMass=dorn)
for pid, name, stulp in [(301, "Штульп стандартный", 1), (302, "Штульп с импостом", 2)]:
    add("ParamList", ID=pid, Group=3, Name=name, StulpType=stulp)
for pid, name, opentype in [(401, "Внутрь, поворотно-откидное", 0), (402, "Внутрь, поворотное", 0),
                            (403, "Наружу", 1), (404, "Т-образная створка", 2)]:
    add("ParamList", ID=pid, Group=4, Name=name, OpenType=opentype)

for mid, name in [(0, "Не задан"), (1, "ПВХ"), (2, "Дерево"), (3, "Алюминий")]:
    add("Material", ID=mid, Name=name)

# ---------------------------------------------------------------- articles
articles = {}


def art(aid, name, price, unit="шт", currency=2, group=1, system="1200", prod=None, price_group=1, virtual=0):
    assert aid not in articles, aid
    articles[aid] = True
    add("Catalog", ID=aid, Group=group, System=system, Article=aid, ProdArticle=prod or aid.replace("KV-", "P"),
        UseArticle=1, Name=name, Unit=unit, Integer=1 if unit == "шт" else 0, Price=f"{price:.2f}",
        PriceGrp=price_group, Currency=currency, Use=1, CommonUse=0, Virtual=virtual, MinTrade="1")


items = {}


def item(iid, name, virtual=0, common=0, **flags):
    items[iid] = True
    add("FrnItem", ID=iid, Name=name, Virtual=virtual, CommonGrp=common,
        **{k: (1 if flags.get(k) else 0) for k in ["HasDornMass", "HasProfSys", "CheckWeight", "HasColor",
                                                     "HasFalzLuft", "HasFalzSize", "HasFalzPos", "CheckThickness",
                                                     "CheckProfWidth", "CheckStulpType", "CheckDirect"]})


key = {"FrnArt": 0}


def frnart(element, catalog_id, **cond):
    key["FrnArt"] += 1
    assert element in items and catalog_id in articles, (element, catalog_id)
    add("FrnArt", ID=element, CatalogID=catalog_id, Key=key["FrnArt"], **cond)


# Gears (espagnolettes with gearbox): fixed handle height by FFH class, per backset.
GEAR_CLASSES = [(43, 62, 177), (63, 71, 227), (72, 91, 320), (92, 111, 470), (112, 131, 570), (132, 167, 620),
                (168, 187, 620), (168, 187, 1057), (188, 240, 1057)]
item("E-GEAR", "Основной запор с редуктором (FHH)", HasDornMass=1)
item("E-GEAR-RC", "Основной запор с редуктором, грибовидные цапфы", HasDornMass=1, common=1210)
for lo, hi, hh in GEAR_CLASSES:
    for dorn in (15, 25):
        suffix = f"{lo:03d}{hi:03d}-{hh}-{dorn}"
        art(f"KV-G{suffix}", f"Запор основной FHH {lo * 10}-{hi * 10 + 9} мм, ГР {hh}, ДМ {dorn}", 9.8 + lo / 20)
        frnart("E-GEAR", f"KV-G{suffix}", FFHMin=lo, FFHMax=hi, HandleHeight=hh, DornMassMin=dorn, DornMassMax=dorn)
        art(f"KV-GS{suffix}", f"Запор основной RC {lo * 10}-{hi * 10 + 9} мм, ГР {hh}, ДМ {dorn}", 14.6 + lo / 18,
            system="1210")
        frnart("E-GEAR-RC", f"KV-GS{suffix}", FFHMin=lo, FFHMax=hi, HandleHeight=hh, DornMassMin=dorn,
               DornMassMax=dorn)

# Variable handle height gears for tilt-only sashes (handle on the top rail).
item("E-GEAR-VHH", "Запор с редуктором VHH (средняя ручка)", HasDornMass=1)
for lo, hi in [(29, 60), (61, 100), (101, 160)]:
    for dorn in (15, 25):
        aid = f"KV-GV{lo:03d}{hi:03d}-{dorn}"
        art(aid, f"Запор VHH {lo * 10}-{hi * 10 + 9} мм, ДМ {dorn}", 11.2 + lo / 25)
        frnart("E-GEAR-VHH", aid, FFBMin=lo, FFBMax=hi, DornMassMin=dorn, DornMassMax=dorn)

# Corner drives, standard and for arches, by hand where it matters.
item("E-CORNER", "Угловой переключатель")
art("KV-EU-STD", "Угловой переключатель стандартный", 3.95)
frnart("E-CORNER", "KV-EU-STD")
item("E-CORNER-S", "Угловой переключатель короткий")
art("KV-EU-SHORT", "Угловой переключатель короткий", 4.40)
frnart("E-CORNER-S", "KV-EU-SHORT")
item("E-CORNER-ARCH", "Угловой переключатель арочный", CheckDirect=1)
for direct, hand in [(1, "левый"), (2, "правый")]:
    aid = f"KV-EU-ARC-{direct}"
    art(aid, f"Угловой переключатель арочный {hand}", 6.75)
    frnart("E-CORNER-ARCH", aid, Direct=direct)
item("E-CORNER-TRAP", "Угловой переключатель для наклонной стороны", CheckDirect=1)
for direct, hand in [(1, "левый"), (2, "правый"), (3, "универсальный")]:
    aid = f"KV-EU-TRP-{direct}"
    art(aid, f"Угловой переключатель наклонный {hand}", 7.10)
    frnart("E-CORNER-TRAP", aid, Direct=direct)

# Stay arms (scissors) by FFB class and hand; stay guide rails.
STAY_CLASSES = [(28, 40, "00"), (41, 60, "1"), (61, 80, "2"), (81, 105, "3"), (106, 130, "4"), (131, 160, "5")]
item("E-STAY", "Ножницы", CheckDirect=1)
item("E-STAY-ARCH", "Ножницы арочные", CheckDirect=1)
for lo, hi, cls in STAY_CLASSES:
    for direct, hand in [(1, "левые"), (2, "правые")]:
        aid = f"KV-SC{cls}-{direct}"
        art(aid, f"Ножницы размер {cls} ({lo * 10}-{hi * 10 + 9} мм) {hand}", 8.5 + int(lo) / 10)
        frnart("E-STAY", aid, FFBMin=lo, FFBMax=hi, Direct=direct)
for lo, hi in [(60, 120), (121, 200)]:
    for direct, hand in [(1, "левые"), (2, "правые")]:
        aid = f"KV-SCA{lo:03d}-{direct}"
        art(aid, f"Ножницы арочные, радиус {lo * 5}-{hi * 5} мм, {hand}", 24.0)
        frnart("E-STAY-ARCH", aid, FFR1Min=lo * 5, FFR1Max=hi * 5, Direct=direct)
item("E-STAY-GUIDE", "Направляющая ножниц")
art("KV-SG-STD", "Направляющая ножниц", 2.15)
frnart("E-STAY-GUIDE", "KV-SG-STD")

# Stay bearings and corner hinges: profile dependent.
PROFILES = ["P58", "P70", "P82"]
item("E-BEARING", "Опора ножниц на раме", HasProfSys=1, HasFalzLuft=1)
item("E-HINGE-FRAME", "Нижняя опора на раме", HasProfSys=1, HasFalzLuft=1, HasFalzSize=1, HasFalzPos=1)
item("E-HINGE-SASH", "Петля нижняя на створке")
item("E-HINGE-COVER", "Накладка петли", HasColor=1)
item("E-HINGESET", "Комплект нижней петли", virtual=1)
for prof in PROFILES:
    for luft in (12, 4):
        art(f"KV-OB-{prof}-{luft}", f"Опора ножниц {prof}, фальцлюфт {luft}", 4.20, system="1200")
        frnart("E-BEARING", f"KV-OB-{prof}-{luft}", ProfSys=prof, FalzLuft=luft)
    # the frame part sits in the rebate: clearance, rebate size and hardware axis all matter
    for suffix, luft, size, pos in [("12", 12, 20, 9), ("12-13", 12, 20, 13), ("4", 4, 18, 13)]:
        art(f"KV-EL-{prof}-{suffix}", f"Нижняя опора {prof}, фальц {luft}/{size}-{pos}", 5.10)
        frnart("E-HINGE-FRAME", f"KV-EL-{prof}-{suffix}", ProfSys=prof, FalzLuft=luft, FalzSize=size, FalzPos=pos)
art("KV-ELB-STD", "Петля нижняя на створке", 3.30)
frnart("E-HINGE-SASH", "KV-ELB-STD")
for code, cname in COLORS:
    art(f"KV-AB-EL-{code}", f"Накладка нижней петли, {cname}", 0.95, group=5)
    frnart("E-HINGE-COVER", f"KV-AB-EL-{code}", Color=code)
    art(f"KV-AB-OB-{code}", f"Накладка опоры ножниц, {cname}", 0.85, group=5)
add("FrnItoI", ID="E-HINGESET", Item="E-HINGE-SASH", Number=1, Required=1, Note="петля на створке")
add("FrnItoI", ID="E-HINGESET", Item="E-HINGE-FRAME", Number=1, Required=1, Note="опора на раме")
add("FrnItoI", ID="E-HINGESET", Item="E-HINGE-COVER", Number=1, Required=0, ColorCondition=0, ItemSideNo=4,
    Note="накладка")

# Middle locks and extensions, locking cams.
item("E-MIDLOCK", "Средний запор")
item("E-MIDLOCK-H", "Средний запор горизонтальный")
art("KV-MV-600", "Средний запор вертикальный 600 мм", 5.60)
frnart("E-MIDLOCK", "KV-MV-600")
art("KV-MH-400", "Средний запор горизонтальный 400 мм", 4.95)
frnart("E-MIDLOCK-H", "KV-MH-400")
item("E-CAM", "Цапфа запорная")
art("KV-CAM-STD", "Цапфа запорная стандартная", 0.45)
frnart("E-CAM", "KV-CAM-STD")
item("E-CAM-RC", "Цапфа грибовидная")
art("KV-CAM-RC", "Цапфа грибовидная (защита от взлома)", 0.95)
frnart("E-CAM-RC", "KV-CAM-RC")

# Cut-to-length rods (priced per metre).
item("E-ROD-STAY", "Тяга соединительная ножниц")
art("KV-TS-ROD", "Тяга соединительная ножниц, отрезная", 6.80, unit="м")
frnart("E-ROD-STAY", "KV-TS-ROD")
item("E-ROD-MID", "Тяга средняя от ручки до верха")
art("KV-TM-ROD", "Тяга средняя, отрезная", 5.90, unit="м")
frnart("E-ROD-MID", "KV-TM-ROD")
item("E-ROD-ARCH", "Тяга арочная гибкая")
art("KV-TA-ROD", "Тяга арочная гибкая, отрезная", 12.40, unit="м")
frnart("E-ROD-ARCH", "KV-TA-ROD")

# Strike plates: by profile system and rebate clearance; system dependent.
item("E-SCHL-STD", "Ответная планка стандартная", HasProfSys=1, HasFalzLuft=1, common=1200)
item("E-SCHL-RC", "Ответная планка защитная", HasProfSys=1, HasFalzLuft=1, common=1210)
item("E-SCHL-CORNER", "Ответная планка угловая", HasProfSys=1, common=0)
item("E-SCHL-DOOR", "Ответная планка дверная", HasProfSys=1, HasDornMass=1, common=1300)
for prof in PROFILES:
    for luft in (12, 4):
        art(f"KV-SP-{prof}-{luft}", f"Ответная планка {prof}, фальцлюфт {luft}", 1.15)
        frnart("E-SCHL-STD", f"KV-SP-{prof}-{luft}", ProfSys=prof, FalzLuft=luft)
        art(f"KV-SPR-{prof}-{luft}", f"Ответная планка защитная {prof}, фальцлюфт {luft}", 2.70, system="1210")
        frnart("E-SCHL-RC", f"KV-SPR-{prof}-{luft}", ProfSys=prof, FalzLuft=luft)
    art(f"KV-SPE-{prof}", f"Ответная планка угловая {prof}", 1.45)
    frnart("E-SCHL-CORNER", f"KV-SPE-{prof}", ProfSys=prof)
for dorn in (35, 45):
    art(f"KV-SPD-D70-{dorn}", f"Ответная планка дверная D70, ДМ {dorn}", 6.90, system="1300")
    frnart("E-SCHL-DOOR", f"KV-SPD-D70-{dorn}", ProfSys="D70", DornMassMin=dorn, DornMassMax=dorn)
item("E-SCHL-STULP", "Ответная планка штульпа", CheckStulpType=1)
for stulp in (1, 2):
    art(f"KV-SPS-{stulp}", f"Ответная планка штульпа, тип {stulp}", 2.20)
    frnart("E-SCHL-STULP", f"KV-SPS-{stulp}", StulpType=stulp)

# Window handles: one article per colour.
item("E-HANDLE-W", "Ручка оконная", HasColor=1)
item("E-HANDLE-WL", "Ручка оконная с ключом", HasColor=1)
item("E-HANDLE-WB", "Ручка оконная с кнопкой", HasColor=1)
item("E-HANDLE-WC", "Ручка оконная с блокировкой от детей", HasColor=1)
for code, cname in COLORS:
    art(f"KV-HW-{code}", f"Ручка оконная, {cname}", 4.90, group=3, price_group=3)
    frnart("E-HANDLE-W", f"KV-HW-{code}", Color=code)
    art(f"KV-HWL-{code}", f"Ручка оконная с ключом, {cname}", 11.50, group=3, price_group=3)
    frnart("E-HANDLE-WL", f"KV-HWL-{code}", Color=code)
    art(f"KV-HWB-{code}", f"Ручка оконная с кнопкой, {cname}", 7.30, group=3, price_group=3)
    frnart("E-HANDLE-WB", f"KV-HWB-{code}", Color=code)
    art(f"KV-HWC-{code}", f"Ручка оконная с блокировкой от детей, {cname}", 9.80, group=3, price_group=3)
    frnart("E-HANDLE-WC", f"KV-HWC-{code}", Color=code)

# Handles are priced in the retail group (+16 % in the first column) so a surcharge shows.

# Astragal: lever espagnolette of the passive sash by FFH class, keepers, edge bolts.
item("E-STULP-GEAR", "Штульповый запор пассивной створки")
for lo, hi in [(43, 100), (101, 160), (161, 240)]:
    aid = f"KV-SG{lo:03d}{hi:03d}"
    art(aid, f"Штульповый запор {lo * 10}-{hi * 10 + 9} мм", 18.40 + lo / 10)
    frnart("E-STULP-GEAR", aid, FFHMin=lo, FFHMax=hi)
item("E-STULP-ACT", "Планка штульповая активной створки")
art("KV-ST-ACT", "Планка штульповая активной створки", 3.10)
frnart("E-STULP-ACT", "KV-ST-ACT")
item("E-STULP-KEEP", "Приемник штульповой планки")
art("KV-ST-KEEP", "Приемник штульповой планки", 2.40)
frnart("E-STULP-KEEP", "KV-ST-KEEP")
item("E-STULP-SEAL", "Уплотнитель штульпа", CheckProfWidth=1)
for lo, hi in [(60, 89), (90, 120)]:
    aid = f"KV-SS-{lo}{hi}"
    art(aid, f"Уплотнитель штульпа для профиля {lo}-{hi} мм", 1.80, unit="м")
    frnart("E-STULP-SEAL", aid, ProfWidthMin=lo, ProfWidthMax=hi)

# Tilt-only parts and triangle parts.
item("E-TILT-HINGE", "Петля откидная")
art("KV-KH-STD", "Петля откидная", 4.70)
frnart("E-TILT-HINGE", "KV-KH-STD")
item("E-TILT-STOP", "Ограничитель откидывания")
art("KV-KS-STD", "Ограничитель откидывания", 5.20)
frnart("E-TILT-STOP", "KV-KS-STD")

# Additional complects: micro-ventilation, misoperation lock.
item("E-MICROVENT", "Щелевое проветривание")
art("KV-MVENT", "Ступенчатое щелевое проветривание", 2.90)
frnart("E-MICROVENT", "KV-MVENT")
item("E-MISOP", "Блокиратор ошибочного открывания", HasDornMass=1)
for dorn in (15, 25):
    art(f"KV-FB-{dorn}", f"Блокиратор ошибочного открывания, ДМ {dorn}", 3.60)
    frnart("E-MISOP", f"KV-FB-{dorn}", DornMassMin=dorn, DornMassMax=dorn)
item("E-LIFTER", "Подъемник створки", CheckWeight=1)
art("KV-FH-STD", "Подъемник створки до 130 кг", 2.10)
frnart("E-LIFTER", "KV-FH-STD", WeightMin="0", WeightMax="130")

# Doors: multipoint locks by leaf height and backset, cylinders by profile
# thickness, closers by width class (EN 1154), door hinges, handles, latches.
item("E-LOCK-MP", "Замок многозапорный", HasDornMass=1)
for lo, hi, hh in [(180, 205, 1050), (206, 225, 1050), (226, 250, 1100)]:
    for dorn in (35, 45):
        aid = f"KV-LM{lo}{hi}-{dorn}"
        art(aid, f"Замок многозапорный {lo * 10}-{hi * 10 + 9} мм, ДМ {dorn}, ПЗ 92", 86.0 + lo / 4, system="1300")
        frnart("E-LOCK-MP", aid, FFHMin=lo, FFHMax=hi, DornMassMin=dorn, DornMassMax=dorn, HandleHeight=hh)
item("E-LOCK-1P", "Замок однозапорный", HasDornMass=1)
for dorn in (35, 45):
    aid = f"KV-L1-{dorn}"
    art(aid, f"Замок однозапорный, ДМ {dorn}, ПЗ 92", 34.0, system="1300")
    frnart("E-LOCK-1P", aid, DornMassMin=dorn, DornMassMax=dorn, HandleHeight=1050)
item("E-CYL", "Цилиндр профильный", CheckThickness=1)
for lo, hi, outside, inside in [(50, 60, 30, 30), (61, 70, 30, 35), (71, 80, 35, 40), (81, 90, 40, 45)]:
    for finish, fname, extra in [("NI", "никель", 0), ("MS", "латунь", 2.5)]:
        aid = f"KV-CY{outside}{inside}-{finish}"
        art(aid, f"Цилиндр {outside}/{inside}, {fname}", 14.0 + (outside + inside) / 10 + extra, system="1300")
        frnart("E-CYL", aid, ThicknessMin=lo, ThicknessMax=hi)
item("E-CLOSER", "Доводчик дверной", HasColor=1)
for lo, hi, size in [(50, 85, 2), (86, 95, 3), (96, 110, 4), (111, 125, 5), (126, 140, 6)]:
    for code in ("SL", "WH", "BR"):
        aid = f"KV-DC-EN{size}-{code}"
        art(aid, f"Доводчик EN{size}, {dict(COLORS)[code]}", 48.0 + size * 9, system="1300", group=4)
        frnart("E-CLOSER", aid, FFBMin=lo, FFBMax=hi, Color=code)
item("E-DOOR-HINGE", "Петля дверная", HasColor=1, CheckWeight=1)
for code, cname in COLORS:
    aid = f"KV-DH-{code}"
    art(aid, f"Петля дверная 3D, {cname}", 16.50, system="1300", group=4)
    frnart("E-DOOR-HINGE", aid, Color=code, WeightMin="0", WeightMax="120")
item("E-HANDLE-D", "Гарнитур нажимной", HasColor=1)
item("E-HANDLE-DP", "Гарнитур ручка-скоба", HasColor=1)
for code, cname in COLORS:
    art(f"KV-HD-{code}", f"Гарнитур нажимной ПЗ 92, {cname}", 27.0, system="1300", group=3)
    frnart("E-HANDLE-D", f"KV-HD-{code}", Color=code)
    art(f"KV-HDP-{code}", f"Гарнитур ручка-скоба 600 мм, {cname}", 39.0, system="1300", group=3)
    frnart("E-HANDLE-DP", f"KV-HDP-{code}", Color=code)
item("E-LATCH", "Шпингалет торцевой")
for lo, hi, length in [(180, 210, 300), (211, 250, 500)]:
    aid = f"KV-ZT-{length}"
    art(aid, f"Шпингалет торцевой {length} мм", 9.40, system="1300")
    frnart("E-LATCH", aid, FFHMin=lo, FFHMax=hi)
item("E-DOOR-STOP", "Фиксатор двери")
art("KV-DS-STD", "Фиксатор двери роликовый", 7.80, system="1300")
frnart("E-DOOR-STOP", "KV-DS-STD")
item("E-THRESHOLD", "Порог алюминиевый")
art("KV-TH-ALU", "Порог алюминиевый 20 мм, отрезной", 21.0, unit="м", system="1300")
frnart("E-THRESHOLD", "KV-TH-ALU")

# Accessories without an element of their own: screws, caps.
for aid, name, price in [("KV-SCR-4x25", "Саморез 4,0x25 (упаковка 10 шт)", 35.0),
                         ("KV-SCR-4x35", "Саморез 4,0x35 (упаковка 10 шт)", 42.0),
                         ("KV-SCR-D", "Саморез дверной 4,8x45 (упаковка 10 шт)", 58.0),
                         ("KV-CAP-UNI", "Заглушка крепежная универсальная", 4.0),
                         ("KV-GREASE", "Смазка для фурнитуры (доза)", 6.0)]:
    art(aid, name, price, unit="уп" if "упаковка" in name else "шт", currency=1, group=6)
for code, cname in COLORS:
    art(f"KV-RS-{code}", f"Розетка ручки, {cname}", 45.0, currency=1, group=6)
# A virtual article is a placeholder and never a line of its own.
art("KV-VIRTUAL", "Виртуальный артикул (не заказывается)", 0, virtual=1, currency=1, group=9)

# Tilt-before-turn gears (child safety), reinforced stay arms of the security system.
item("E-GEAR-KD", "Основной запор откидно-поворотный (KD)", HasDornMass=1)
for lo, hi, hh in GEAR_CLASSES:
    for dorn in (15, 25):
        suffix = f"{lo:03d}{hi:03d}-{hh}-{dorn}"
        art(f"KV-GK{suffix}", f"Запор KD {lo * 10}-{hi * 10 + 9} мм, ГР {hh}, ДМ {dorn}", 12.9 + lo / 20)
        frnart("E-GEAR-KD", f"KV-GK{suffix}", FFHMin=lo, FFHMax=hi, HandleHeight=hh, DornMassMin=dorn,
               DornMassMax=dorn)
item("E-STAY-RC", "Ножницы усиленные", CheckDirect=1, common=1210)
for lo, hi, cls in STAY_CLASSES:
    for direct, hand in [(1, "левые"), (2, "правые")]:
        aid = f"KV-SCR{cls}-{direct}"
        art(aid, f"Ножницы усиленные размер {cls} ({lo * 10}-{hi * 10 + 9} мм) {hand}", 12.5 + int(lo) / 10,
            system="1210")
        frnart("E-STAY-RC", aid, FFBMin=lo, FFBMax=hi, Direct=direct)
item("E-CYL-TT", "Цилиндр с вертушкой", CheckThickness=1)
for lo, hi, outside, inside in [(50, 60, 30, 30), (61, 70, 30, 35), (71, 80, 35, 40), (81, 90, 40, 45)]:
    for finish, fname, extra in [("NI", "никель", 0), ("MS", "латунь", 2.5)]:
        aid = f"KV-CT{outside}{inside}-{finish}"
        art(aid, f"Цилиндр {outside}/{inside} с вертушкой, {fname}", 19.0 + (outside + inside) / 10 + extra,
            system="1300")
        frnart("E-CYL-TT", aid, ThicknessMin=lo, ThicknessMax=hi)
item("E-CLOSER-HO", "Доводчик с фиксацией открывания", HasColor=1)
for lo, hi, size in [(50, 85, 2), (86, 95, 3), (96, 110, 4), (111, 125, 5), (126, 140, 6)]:
    for code in ("SL", "WH", "BR"):
        aid = f"KV-DF-EN{size}-{code}"
        art(aid, f"Доводчик EN{size} с фиксацией, {dict(COLORS)[code]}", 61.0 + size * 9, system="1300",
            group=4)
        frnart("E-CLOSER-HO", aid, FFBMin=lo, FFBMax=hi, Color=code)
item("E-LIMITER", "Ограничитель открывания")
for aid, name in [("KV-OG-100", "Ограничитель открывания 100 мм"), ("KV-OG-DETENT", "Ограничитель с фиксатором")]:
    art(aid, name, 6.40)
    frnart("E-LIMITER", aid)
for length in (250, 500, 750, 1000):
    art(f"KV-EXT-{length}", f"Удлинитель запора {length} мм", 3.20 + length / 250)
for code, cname in COLORS:
    art(f"KV-DHC-{code}", f"Колпачки дверной петли, {cname} (2 шт)", 1.60, group=5, system="1300")

# Extra colour variants of sash and frame covers for the shop's price list.
for code, cname in COLORS:
    for kind, kname, price in [("TOP", "верхней петли", 0.75), ("MID", "средней петли", 0.70),
                               ("SCH", "ответной планки", 0.40)]:
        art(f"KV-AB-{kind}-{code}", f"Накладка {kname}, {cname}", price, group=5)

# ---------------------------------------------------------------- strike plates and accessories
key["FrnSchl"] = 0


def schl(catalog_id, element, number=1, stulp=0, side=0, complect="", prop=0):
    key["FrnSchl"] += 1
    assert catalog_id in articles and element in items
    add("FrnSchl", CatalogID=catalog_id, Item=element, Key=key["FrnSchl"], Number=number, StulpType=stulp,
        PropKey=prop, ItemSideNo=side, ItemComplectID=complect)


key["FrnDop"] = 0


def dop(catalog_id, accessory, number=1, stulp=0, side=0, complect="", prop=0):
    key["FrnDop"] += 1
    assert catalog_id in articles and accessory in articles
    add("FrnDop", CatalogID=catalog_id, AccessoryID=accessory, Key=key["FrnDop"], Number=number, PropKey=prop,
        StulpType=stulp, ItemSideNo=side, ItemComplectID=complect)


def abd(catalog_id, color, accessory, number=1, side=0, complect=""):
    assert catalog_id in articles and accessory in articles
    add("FrnAbd", CatalogID=catalog_id, Color=color, AccessoryID=accessory, Number=number, ItemSideNo=side,
        ItemComplectID=complect)


for row in list(tables["FrnArt"]):
    aid = row["CatalogID"]
    if aid.startswith("KV-GS"):
        schl(aid, "E-SCHL-RC", 2)
        schl(aid, "E-SCHL-STD", 1)
        dop(aid, "KV-SCR-4x25", 1)
    elif aid.startswith("KV-G") and not aid.startswith("KV-GV"):
        schl(aid, "E-SCHL-STD", 2)
        schl(aid, "E-SCHL-RC", 1)  # only on the security system 1210
        dop(aid, "KV-SCR-4x25", 1)
    elif aid.startswith("KV-GV"):
        schl(aid, "E-SCHL-STD", 2)
for aid in ("KV-MV-600", "KV-MH-400"):
    schl(aid, "E-SCHL-STD", 1)
schl("KV-CAM-RC", "E-SCHL-RC", 1)
schl("KV-EU-STD", "E-SCHL-CORNER", 1)
schl("KV-EU-SHORT", "E-SCHL-CORNER", 1)
schl("KV-ST-ACT", "E-SCHL-STULP", 1)
schl("KV-ST-ACT", "E-SCHL-STULP", 1, stulp=2)  # a second keeper with the intermediate profile
for row in list(tables["FrnArt"]):
    if row["ID"] == "E-LOCK-MP":
        schl(row["CatalogID"], "E-SCHL-DOOR", 1)
        schl(row["CatalogID"], "E-SCHL-DOOR", 2, complect="LK-MP")  # only when the multipoint lock set asks
for prof in PROFILES:
    for luft in (12, 4):
        dop(f"KV-OB-{prof}-{luft}", "KV-SCR-4x35", 1)
        abd(f"KV-OB-{prof}-{luft}", "", "KV-CAP-UNI", 1)
        for code, _ in COLORS:
            abd(f"KV-OB-{prof}-{luft}", code, f"KV-AB-OB-{code}", 1)
    for suffix in ("12", "12-13", "4"):
        dop(f"KV-EL-{prof}-{suffix}", "KV-SCR-4x35", 1)
for code, _ in COLORS:
    abd(f"KV-HW-{code}", code, f"KV-RS-{code}", 1)
    abd(f"KV-HWL-{code}", code, f"KV-RS-{code}", 1)
    dop(f"KV-DH-{code}", "KV-SCR-D", 1)
abd("KV-KH-STD", "", "KV-CAP-UNI", 2)
for code, _ in COLORS:
    abd(f"KV-DH-{code}", code, f"KV-DHC-{code}", 1)
dop("KV-CAP-UNI", "KV-GREASE", 1)
for row in list(tables["FrnArt"]):
    if row["ID"] == "E-LOCK-MP":
        dop(row["CatalogID"], "KV-SCR-D", 2)
dop("KV-VIRTUAL", "KV-GREASE", 1)

# ---------------------------------------------------------------- complects


def complect(cid, group, name, image, sides, subgroup=0, direct=3, tflugel=0, color=0xFFFFFF, prop=0, common=1200,
             material=1, printable=1):
    add("FrnComp", ID=cid, Group=group, Name=name, Image=image, MaxWeight=130, ScrColor=color,
        TFlugelAvailable=tflugel, Use=1, SubGroup=subgroup, Kipp=0, Direct=direct, CommonGrp=common, PrintName=name,
        Printable=printable, PropKey=prop, Material=material, DispHingeNum=2, CompectImage=image)
    for side in sides:
        add("FrnSide", ID=cid, **side)


def side(n, min_size, max_size, min_angle="89.5", max_angle="90.5", min_radius=0, max_radius=0, full=0, half=0,
         open_mode=0, rot=0, handled=0, handle_direct=0, banded=0, drived=0):
    return dict(Side=n, MinSize=min_size, MaxSize=max_size, MinAngle=min_angle, MaxAngle=max_angle,
                MinRadius=min_radius, MaxRadius=max_radius, FullRadius=full, HalfRadius=half, EllipseRadius=0,
                OpenMode=open_mode, RotSide=rot, Handled=handled, HandleDirect=handle_direct, Banded=banded,
                Drived=drived)


key["FrnSet"] = 0


def line(cid, element, number=1, **fields):
    key["FrnSet"] += 1
    assert element in items, element
    add("FrnSet", ID=cid, Item=element, Key=key["FrnSet"], Number=number, Required=fields.pop("Required", 1),
        **fields)


def rect_sides(hinge_side, handle_side, tilt=True, turn=True):
    """A rectangular sash: side 1 left (upward), 2 top, 3 right (downward), 4 bottom."""
    rows = []
    for n in range(1, 5):
        vertical = n in (1, 3)
        kwargs = dict(min_size=430 if vertical else 290, max_size=2400 if vertical else 1600)
        if turn and n == handle_side:
            kwargs.update(open_mode=1, rot=hinge_side)
        if tilt and n == 2:
            kwargs.update(open_mode=1, rot=4)
        if n == handle_side:
            kwargs.update(handled=1, handle_direct=1 if n == 3 else 0, drived=1)
        if n == hinge_side:
            kwargs.update(banded=1)
        if n in (2, 4) and turn:
            kwargs.update(drived=1)
        rows.append(side(n, **kwargs))
    return rows


# SysProp property keys of the complects and lines.
for prop_key, ids in [(100, [(21, 1), (22, 0), (23, 0)]), (101, [(22, 0), (23, 0)]), (102, [(21, 0)]),
                      (103, [(23, 0)]), (110, [(31, 1), (32, 0)]), (111, [(32, 0)])]:
    for pid, default in ids:
        add("FrnProp", ID=pid, PropKey=prop_key, Default=default)


def turn_tilt_lines(cid, stay_side_direct_side=3, handle_side=3):
    line(cid, "E-GEAR", Condition=2, DefineHandleHeight=1, HandleSideNo=handle_side, ItemSideNo=handle_side,
         Note="основной запор")
    line(cid, "E-CORNER", 2, FFBMin=29, ItemSideNo=2, Note="угловые переключатели сверху")
    line(cid, "E-CORNER", 1, FFBMin=29, ItemSideNo=4, Note="угловой переключатель снизу")
    line(cid, "E-STAY", Condition=1, ItemSideNo=2, Note="ножницы")
    line(cid, "E-STAY-GUIDE", FFBMin=40, ItemSideNo=2)
    line(cid, "E-ROD-STAY", UseLen=1, LenFormula="FFB - 380", MinLen=60, FFBMin=60, ItemSideNo=2,
         Note="тяга ножниц")
    line(cid, "E-ROD-MID", UseLen=1, LenFormula="FН - FFG(3) - 460", MinLen=150, FFHMin=140, ItemSideNo=3,
         Note="тяга от ручки до верха")
    line(cid, "E-BEARING", ItemSideNo=2, Note="опора ножниц")
    line(cid, "E-HINGESET", ItemSideNo=4 - handle_side, Note="нижняя петля (угол петлевой стороны)")
    # middle locks: on the handle side one per started 600 mm above 1200 mm (steps), on the top rail by thresholds
    line(cid, "E-MIDLOCK", 0, ScaleCondition=2, ScaleStart=120, ScaleStep=60, ScaleNum=1, ItemSideNo=3,
         Note="средний запор по высоте")
    line(cid, "E-MIDLOCK-H", 0, ScaleCondition=1, ScaleScheme="80;130", ScaleNum=1, ItemSideNo=2,
         Note="средний запор по ширине")
    line(cid, "E-CAM", 4, PropKey=102, ItemSideNo=3, Note="цапфы стандарт")
    line(cid, "E-CAM-RC", 4, PropKey=101, ItemSideNo=3, Note="цапфы RC")
    line(cid, "E-CAM-RC", 2, PropKey=103, ScaleCondition=2, ScaleScheme="140", ScaleNum=1, ItemSideNo=1,
         Note="цапфы RC2 на стороне петель")
    line(cid, "E-LIFTER", 1, FFHMin=150, Required=0, ItemSideNo=3, Note="подъемник тяжелой створки")


complect("DK-L", 10, "Поворотно-откидной, петли слева", 2, rect_sides(1, 3), direct=1, prop=100, color=0xE0F0FF)
turn_tilt_lines("DK-L")
complect("DK-R", 10, "Поворотно-откидной, петли справа", 1, rect_sides(3, 1), direct=2, prop=100, color=0xE0F0FF)
turn_tilt_lines("DK-R", handle_side=1)
# the right-hinged complect keeps its handle on side 1
for row in tables["FrnSet"]:
    if row["ID"] == "DK-R" and row["Item"] == "E-ROD-MID":
        row["LenFormula"] = "FН - FFG(1) - 460"

complect("KD-L", 10, "Откидно-поворотный (KD), петли слева", 2, rect_sides(1, 3), direct=1, prop=100,
         color=0xE0F0FF)
turn_tilt_lines("KD-L")
for row in tables["FrnSet"]:
    if row["ID"] == "KD-L" and row["Item"] == "E-GEAR":
        row["Item"] = "E-GEAR-KD"
complect("DK-L-RC", 10, "Поворотно-откидной RC, петли слева", 2, rect_sides(1, 3), direct=1, prop=100,
         color=0xC0D0FF, common=1210)
turn_tilt_lines("DK-L-RC")
for row in tables["FrnSet"]:
    if row["ID"] == "DK-L-RC" and row["Item"] == "E-GEAR":
        row["Item"] = "E-GEAR-RC"
    if row["ID"] == "DK-L-RC" and row["Item"] == "E-STAY":
        row["Item"] = "E-STAY-RC"

complect("D-L", 10, "Поворотный, петли слева", 2, rect_sides(1, 3, tilt=False), direct=1, tflugel=1,
         color=0xF0FFE0)
line("D-L", "E-GEAR", Condition=2, DefineHandleHeight=1, HandleSideNo=3, ItemSideNo=3, Note="основной запор")
line("D-L", "E-CORNER", 2, ItemSideNo=2)
line("D-L", "E-HINGESET", 2, ItemSideNo=1, Note="петли поворотные")
line("D-L", "E-MIDLOCK", 0, ScaleCondition=2, ScaleStart=120, ScaleStep=60, ScaleNum=1, ItemSideNo=3)
line("D-L", "E-CAM", 3, ItemSideNo=3)
complect("D-R", 10, "Поворотный, петли справа", 1, rect_sides(3, 1, tilt=False), direct=2, tflugel=1,
         color=0xF0FFE0)
line("D-R", "E-GEAR", Condition=2, DefineHandleHeight=1, HandleSideNo=1, ItemSideNo=1, Note="основной запор")
line("D-R", "E-CORNER", 2, ItemSideNo=2)
line("D-R", "E-HINGESET", 2, ItemSideNo=3, Note="петли поворотные")
line("D-R", "E-CAM", 3, ItemSideNo=1)

complect("K-STD", 10, "Откидной (фрамуга)", 3, rect_sides(4, 2, tilt=True, turn=False), direct=3, tflugel=1,
         color=0xFFF0E0)
line("K-STD", "E-GEAR-VHH", Condition=1, DefineHandleHeight=1, HandleSideNo=2, ItemSideNo=2,
     Note="запор по центру верхней стороны")
line("K-STD", "E-TILT-HINGE", 2, ItemSideNo=4)
line("K-STD", "E-TILT-STOP", 2, ItemSideNo=1)

# Arched turn-tilt: only sashes with an arc on side 2.
arch_sides = [side(1, 300, 2400, min_angle="89.5", max_angle="90.5", banded=1),
              side(2, 400, 1600, min_angle="90", max_angle="180.5", min_radius=200, max_radius=3000, full=1, half=1,
                   open_mode=1, rot=4),
              side(3, 300, 2400, min_angle="90", max_angle="180.5", open_mode=1, rot=1, handled=1, handle_direct=1,
                   drived=1),
              side(4, 400, 1600, min_angle="89.5", max_angle="90.5", drived=1)]
complect("DK-ARCH", 10, "Поворотно-откидной арочный, петли слева", 2, arch_sides, direct=1, color=0xFFE0E0)
line("DK-ARCH", "E-GEAR", Condition=2, DefineHandleHeight=1, HandleSideNo=3, ItemSideNo=3)
line("DK-ARCH", "E-CORNER-ARCH", 2, ItemSideNo=2, Note="арочные угловые")
line("DK-ARCH", "E-CORNER", 1, ItemSideNo=4)
line("DK-ARCH", "E-STAY-ARCH", Condition=8, Side1No=2, FFR1No=2, FFR1Type=6, ItemSideNo=2, Note="ножницы арочные")
line("DK-ARCH", "E-ROD-ARCH", UseLen=1, LenFormula="FFL(2) * 1.3 - 200", MinLen=300, ItemSideNo=2,
     Note="тяга по дуге")
line("DK-ARCH", "E-BEARING", ItemSideNo=2)
line("DK-ARCH", "E-HINGESET", ItemSideNo=1, Note="нижняя петля (угол петлевой стороны)")

# Trapezoids: figure 3 (top rising to the right) and figure 4 (falling).
def trap_sides(rising):
    obtuse, acute = ("90.5", "125"), ("55", "89.5")
    a2, a3 = (obtuse, acute) if rising else (acute, obtuse)
    return [side(1, 300, 2400, min_angle="89.5", max_angle="90.5", banded=1),
            side(2, 300, 1800, min_angle=a2[0], max_angle=a2[1]),
            side(3, 300, 2400, min_angle=a3[0], max_angle=a3[1], open_mode=1, rot=1, handled=1, handle_direct=1,
                 drived=1),
            side(4, 290, 1600, min_angle="89.5", max_angle="90.5")]


for cid, rising, title in [("D-TRAP-A", True, "верх вверх вправо"), ("D-TRAP-B", False, "верх вниз вправо")]:
    complect(cid, 10, f"Поворотный трапеция ({title}), петли слева", 2, trap_sides(rising), direct=1,
             color=0xE0FFE0)
    line(cid, "E-GEAR", Condition=2, DefineHandleHeight=1, HandleSideNo=3, ItemSideNo=3)
    line(cid, "E-CORNER-TRAP", 1, ItemSideNo=2, Note="угловой на наклонной стороне")
    line(cid, "E-CORNER", 1, ItemSideNo=4)
    line(cid, "E-HINGESET", 2, ItemSideNo=1)
    line(cid, "E-CAM", 2, FFL1No=2, FFL1Min=600, ItemSideNo=2, Note="цапфы на длинной наклонной стороне")

# Triangles: tilt-only, hinges on the bottom side 3.
tri_sides = [side(1, 300, 2400, min_angle="20", max_angle="90.5"),
             side(2, 300, 2400, min_angle="20", max_angle="90.5", open_mode=1, rot=3),
             side(3, 300, 1600, min_angle="20", max_angle="90.5", banded=1)]
complect("K-TRI", 10, "Откидной треугольный", 0, tri_sides, direct=3, tflugel=1, color=0xFFFFE0)
line("K-TRI", "E-TILT-HINGE", 2, ItemSideNo=3)
line("K-TRI", "E-TILT-STOP", 1, FFANo=1, FFAMin=20, FFAMax=90, ItemSideNo=1, Note="ограничитель")

# Astragal pairs. Left main (layout 0): main subgroup 11, passive right subgroup 22.
complect("DK-STULP-L", 10, "Поворотно-откидной штульповый, главная левая", 2, rect_sides(1, 3), subgroup=11,
         direct=1, prop=100, color=0xE0E0FF)
turn_tilt_lines("DK-STULP-L")
line("DK-STULP-L", "E-STULP-ACT", ItemSideNo=3, Note="планка на штульпе")
complect("ST-P-R", 10, "Пассивная створка штульпа, правая", 0,
         [side(1, 430, 2400, drived=1, open_mode=1, rot=3), side(2, 290, 1600), side(3, 430, 2400, banded=1),
          side(4, 290, 1600)], subgroup=22, direct=2, color=0xD0D0F0)
complect("DK-STULP-R", 10, "Поворотно-откидной штульповый, главная правая", 1, rect_sides(3, 1), subgroup=21,
         direct=2, prop=100, color=0xE0E0FF)
turn_tilt_lines("DK-STULP-R", handle_side=1)
for row in tables["FrnSet"]:
    if row["ID"] == "DK-STULP-R" and row["Item"] == "E-ROD-MID":
        row["LenFormula"] = "FН - FFG(1) - 460"
line("DK-STULP-R", "E-STULP-ACT", ItemSideNo=1, Note="планка на штульпе")
complect("ST-P-L", 10, "Пассивная створка штульпа, левая", 0,
         [side(1, 430, 2400, banded=1), side(2, 290, 1600), side(3, 430, 2400, drived=1, open_mode=1, rot=1),
          side(4, 290, 1600)], subgroup=12, direct=1, color=0xD0D0F0)
for cid, stile in [("ST-P-R", 1), ("ST-P-L", 3)]:
    line(cid, "E-STULP-GEAR", Condition=2, ItemSideNo=stile, Note="штульповый запор")
    line(cid, "E-HINGESET", 2, ItemSideNo=3 if stile == 1 else 1)
    line(cid, "E-STULP-KEEP", UseIfArt="KV-ST-ACT", ItemSideNo=stile, Note="приемник планки главной створки")
    line(cid, "E-STULP-SEAL", Condition=0, UseLen=1, LenFormula=f"FFL({stile})", MinLen=300, ItemSideNo=stile,
         Note="уплотнитель по длине штульпа")
    line(cid, "E-MIDLOCK", FFL21No=3 if stile == 1 else 1, FFL21Min=1500, ItemSideNo=stile,
         Note="средний запор высокой пары")

# Door leaf main complects (group 11) and the door set complects.
door_sides = [side(1, 1700, 2500, banded=1), side(2, 600, 1400),
              side(3, 1700, 2500, open_mode=1, rot=1, handled=1, handle_direct=1, drived=1), side(4, 600, 1400)]
complect("DR-L", 11, "Дверь поворотная, петли слева", 4, door_sides, direct=1, common=1300, color=0xF0E0D0)
line("DR-L", "E-DOOR-STOP", ItemSideNo=2)
line("DR-L", "E-THRESHOLD", UseLen=1, LenFormula="FFB - 10", MinLen=500, ItemSideNo=4, Note="порог")
complect("DR-L2", 11, "Дверь поворотная усиленная, петли слева", 4, door_sides, direct=1, common=1300,
         color=0xF0E0D0)
line("DR-L2", "E-DOOR-STOP", ItemSideNo=2)
complect("HG-D3", 21, "Петли дверные 3D", 0, [], common=1300, material=0)
line("HG-D3", "E-DOOR-HINGE", 2, ScaleCondition=2, ScaleScheme="200;240", ScaleNum=1, ItemSideNo=1,
     Note="петли по высоте створки")
complect("HG-W-MID", 20, "Средняя петля оконная", 0, [], material=0)
line("HG-W-MID", "E-HINGE-SASH", 1, FFHMin=120, ItemSideNo=1)
complect("LK-MP", 41, "Замок многозапорный", 0, [], common=1300, material=0)
line("LK-MP", "E-LOCK-MP", Condition=2, DefineHandleHeight=1, HandleSideNo=3, ItemSideNo=3)
complect("LK-1P", 43, "Замок однозапорный", 0, [], common=1300, material=0)
line("LK-1P", "E-LOCK-1P", DefineHandleHeight=1, HandleSideNo=3, ItemSideNo=3)
complect("CY-STD", 45, "Цилиндр по толщине профиля", 0, [], common=1300, material=0)
line("CY-STD", "E-CYL", ItemSideNo=3)
complect("DC-STD", 50, "Доводчик по ширине створки", 0, [], common=1300, material=0)
line("DC-STD", "E-CLOSER", Condition=1, ItemSideNo=2)
complect("CY-TT", 45, "Цилиндр с вертушкой по толщине профиля", 0, [], common=1300, material=0)
line("CY-TT", "E-CYL-TT", ItemSideNo=3)
complect("DC-HOLD", 50, "Доводчик с фиксацией", 0, [], common=1300, material=0)
line("DC-HOLD", "E-CLOSER-HO", Condition=1, ItemSideNo=2)
complect("LT-STD", 46, "Шпингалеты торцевые", 0, [], common=1300, material=0)
line("LT-STD", "E-LATCH", 2, Condition=2, ItemSideNo=3)

# Handles: window groups 30/32, door groups 31/33.
complect("HW-STD", 30, "Ручка оконная", 0, [], material=0)
line("HW-STD", "E-HANDLE-W", ItemSideNo=0)
complect("HW-LOCK", 30, "Ручка оконная с ключом", 0, [], material=0)
line("HW-LOCK", "E-HANDLE-WL", ItemSideNo=0)
complect("HW-BTN", 32, "Ручка оконная с кнопкой", 0, [], material=0)
line("HW-BTN", "E-HANDLE-WB", ItemSideNo=0)
complect("HW-CHILD", 30, "Ручка оконная с блокировкой от детей", 0, [], material=0)
line("HW-CHILD", "E-HANDLE-WC", ItemSideNo=0)
complect("HD-PUSH", 31, "Гарнитур нажимной дверной", 0, [], common=1300, material=0)
line("HD-PUSH", "E-HANDLE-D", ItemSideNo=3)
complect("HD-PULL", 33, "Гарнитур ручка-скоба", 0, [], common=1300, material=0)
line("HD-PULL", "E-HANDLE-DP", ItemSideNo=3)

# Additional complects.
complect("ADD-MVENT", 60, "Щелевое проветривание", 0, [], material=0, prop=110)
line("ADD-MVENT", "E-MICROVENT", ItemSideNo=2, PropKey=111)
complect("ADD-LIMIT", 60, "Ограничитель открывания", 0, [], material=0)
line("ADD-LIMIT", "E-LIMITER", ItemSideNo=2, Required=1)
complect("ADD-MISOP", 60, "Блокиратор ошибочного открывания", 0, [], material=0)
line("ADD-MISOP", "E-MISOP", ItemSideNo=3)

# ---------------------------------------------------------------- write
os.makedirs(OUT, exist_ok=True)
for name, rows in tables.items():
    columns = []
    for row in rows:
        for column in row:
            if column not in columns:
                columns.append(column)
    with open(os.path.join(OUT, f"{name}.csv"), "w", newline="", encoding="utf-8") as f:
        writer = csv.writer(f, lineterminator="\r\n")
        writer.writerow(columns)
        for row in rows:
            writer.writerow(["" if row.get(c) is None else row.get(c) for c in columns])
print(f"{len(articles)} articles, {len(tables['FrnComp'])} complects, {len(tables['FrnArt'])} article rows, "
      f"{len(tables['FrnSet'])} complect lines", file=sys.stderr)
