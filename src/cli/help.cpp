// kvf help: the overview and one page per topic, in the words of the program.
#include <cstdio>
#include <string>

#include "cli/command.h"

namespace kvf::cli {
namespace {

struct TTopic {
  const char* name;
  const char* text;
};

constexpr const char* kOverview =
    "kvf — командная строка Korvane ФУРНИТУРА\n"
    "\n"
    "Команды:\n"
    "  kvf config list | add | remove | default   конфигурации (папки каталога, сервера, отчетов)\n"
    "  kvf catalog build | export | import | check каталог фурнитуры: из CSV, в CSV, из Paradox, проверка\n"
    "  kvf calc ЗАПРОС.json                        расчет фурнитуры новых позиций, заказ в JSON\n"
    "  kvf order dump | from-json | recalc | reprice | materials   файлы заказов (.kfo370)\n"
    "  kvf selection dump | from-json | materials | refresh       файлы выборок (.kfs370)\n"
    "  kvf sketch ЗАКАЗ.kfo370 ПОЗИЦИЯ --png | --svg ФАЙЛ          эскиз позиции\n"
    "\n"
    "Справка по теме: kvf help ТЕМА (или kvf КОМАНДА --help). Темы: config, catalog, calc, order,\n"
    "selection, sketch.\n"
    "Описание запроса расчета с примерами: docs/calc-request.md, примеры в data/requests/.\n"
    "\n"
    "Каталог: --catalog ПАПКА (папка с kvfcatalog.sqlite) или --config ИМЯ (без обоих — конфигурация\n"
    "по умолчанию). Конфигурации хранятся в $XDG_CONFIG_HOME/korvane/registry.json.\n"
    "Результаты — в стандартный вывод, сообщения — в стандартный поток ошибок.\n"
    "Код выхода: 0 — успешно, 1 — операция не выполнена, 2 — ошибка в командной строке.\n";

const TTopic kTopics[] = {
    {"config",
     "kvf config list\n"
     "kvf config add ИМЯ --catalog ПАПКА --server ПАПКА --report ПАПКА [--temp ПАПКА] [--default] [--force]\n"
     "kvf config remove ИМЯ\n"
     "kvf config default ИМЯ\n"
     "\n"
     "Конфигурация называет папку каталога, папку сервера (в ней Orders, Selection, Registry, Export, ...)\n"
     "и папку отчетов. Первая добавленная конфигурация становится конфигурацией по умолчанию.\n"
     "Имена различаются с учетом регистра: Demo и DEMO — две конфигурации.\n"},
    {"catalog",
     "kvf catalog build CSV-ПАПКА ПАПКА-КАТАЛОГА   каталог из CSV-файлов (Catalog.csv, FrnSet.csv, ...)\n"
     "kvf catalog export ПАПКА-КАТАЛОГА CSV-ПАПКА  каталог в CSV для правки в таблице\n"
     "kvf catalog import ПАПКА-PARADOX ПАПКА-КАТАЛОГА [--partial]\n"
     "                                          таблицы Paradox производителя; без --partial каталог\n"
     "                                          заменяется только когда прочитаны все таблицы\n"
     "kvf catalog check ПАПКА-КАТАЛОГА            ссылки на отсутствующие строки; код 1, если есть\n"
     "\n"
     "Каталог без артикулов (Catalog.csv или Catalog.DB без строк) не строится и не заменяет прежний.\n"},
    {"calc",
     "kvf calc ЗАПРОС.json [--catalog ПАПКА | --config ИМЯ] [--debug] [--out ФАЙЛ.kfo370 [--force]]\n"
     "         [--sketch-dir ПАПКА]\n"
     "\n"
     "Запрос (подробно — docs/calc-request.md, примеры — data/requests/):\n"
     "{\n"
     "  \"order\": { \"FOrderNo\": \"А-1\", \"FCustomer\": \"...\", \"FCurrencyID\": 1 },\n"
     "  \"positions\": [ {\n"
     "    \"FPosNo\": \"001\", \"FName\": \"Окно\", \"FNumber\": 1, \"FObjectType\": 0,   (0 окно, 1 дверь)\n"
     "    \"outline\": { \"figure\": 0, \"B\": 700, \"H\": 1400, \"X\": 0, \"Y\": 0, \"R\": 0, \"dornType\": 201 },\n"
     "    \"fittings\": {\n"
     "      \"FFurnSys\": \"1200\", \"FProfSys\": \"P70\", \"FFurnColor\": \"WH\",\n"
     "      \"FFalzType\": 101, \"FStulpType\": 301, \"FFlugelType\": 401, \"FProfWidth\": 70, \"FProfThickness\": 70,\n"
     "      \"sash1\": { \"FComplect\": \"DK-L\", \"FHandle\": \"HW-STD\", \"FDornType\": 201, \"FProperties\": [\"0=21\"] },\n"
     "      \"sash2\": { ... только для figure 1 и 2 } } } ] }\n"
     "\n"
     "Фигуры (мм): 0 прямоугольник B x H; 1 и 2 две створки со штульпом шириной X и Y (X + Y = B;\n"
     "1 — главная створка справа, 2 — слева); 3 и 4 трапеция, X — высота низкой стороны (слева или\n"
     "справа); 5 и 6 прямоугольный треугольник; 7 арка, R — радиус, X — высота хорды.\n"
     "Неизвестный член, значение не того типа или вне диапазона — ошибка с указанием места, код 1.\n"
     "Позиция, которая не рассчиталась, остается без фурнитуры, ее сообщение — в члене \"error\".\n"},
    {"order",
     "kvf order dump ФАЙЛ [--no-convert]           заказ в JSON\n"
     "kvf order from-json JSON ФАЙЛ [--force]       и обратно (dump, затем from-json дает те же байты)\n"
     "kvf order recalc ФАЙЛ [--catalog ПАПКА | --config ИМЯ] [--debug] [--write]\n"
     "kvf order reprice ФАЙЛ [--catalog ПАПКА | --config ИМЯ] [--write]\n"
     "kvf order materials ФАЙЛ [--catalog ПАПКА | --config ИМЯ] [--csv | --json]\n"
     "\n"
     "Файл старой версии конвертируется при чтении (--no-convert отказывается); файл новой версии,\n"
     "поврежденный или чужой файл не читается, и ничто не записывается поверх него (код 1).\n"},
    {"selection",
     "kvf selection dump ФАЙЛ\n"
     "kvf selection from-json JSON ФАЙЛ [--force]\n"
     "kvf selection materials ФАЙЛ [--orders ПАПКА] [--catalog ПАПКА | --config ИМЯ] [--csv | --json]\n"
     "kvf selection refresh ФАЙЛ [--orders ПАПКА] [--update-included] [--write]\n"
     "\n"
     "Ссылки \"%ИМЯ.kfo370\" позиций выборки считаются от папки заказов: --orders или конфигурации.\n"
     "Заказ, который не найден или не читается, называется, и команда завершается с кодом 1.\n"},
    {"sketch",
     "kvf sketch ЗАКАЗ.kfo370 ПОЗИЦИЯ --png ФАЙЛ.png | --svg ФАЙЛ.svg [--size 800x600]\n"
     "           [--options overall,sides,inner]\n"
     "\n"
     "Эскиз позиции с размерными линиями: overall — общие размеры, sides — длины сторон,\n"
     "inner — размеры створок; none — без размеров.\n"},
};

}  // namespace

const char* HelpOverview() { return kOverview; }

const char* HelpTopic(const std::string& name) {
  for (const TTopic& t : kTopics)
    if (name == t.name) return t.text;
  return nullptr;
}

int RunHelp(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::fputs(kOverview, stdout);
    return 0;
  }
  const char* text = HelpTopic(args[0]);
  if (!text) throw TUsageError("нет справки по теме " + args[0] + " (kvf help — список тем)");
  std::fputs(text, stdout);
  return 0;
}

}  // namespace kvf::cli
