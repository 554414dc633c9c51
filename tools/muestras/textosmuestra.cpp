#include "muestras/textosmuestra.h"

#include <array>

namespace muestra {

namespace {

using namespace std::string_view_literals;

constexpr std::array kApellidos = {
    "García"sv,    "Fernández"sv, "González"sv, "Rodríguez"sv, "López"sv,     "Martínez"sv,
    "Sánchez"sv,   "Pérez"sv,     "Gómez"sv,    "Martín"sv,    "Jiménez"sv,   "Ruiz"sv,
    "Hernández"sv, "Díaz"sv,      "Moreno"sv,   "Muñoz"sv,     "Álvarez"sv,   "Romero"sv,
    "Alonso"sv,    "Gutiérrez"sv, "Navarro"sv,  "Torres"sv,    "Domínguez"sv, "Vázquez"sv,
    "Ramos"sv,     "Gil"sv,       "Ramírez"sv,  "Serrano"sv,   "Blanco"sv,    "Molina"sv,
    "Morales"sv,   "Suárez"sv,    "Ortega"sv,   "Delgado"sv,   "Castro"sv,    "Ortiz"sv,
    "Rubio"sv,     "Marín"sv,     "Sanz"sv,     "Núñez"sv,     "Iglesias"sv,  "Medina"sv,
    "Garrido"sv,   "Cortés"sv,    "Castillo"sv, "Santos"sv,    "Lozano"sv,    "Guerrero"sv,
    "Cano"sv,      "Prieto"sv,    "Méndez"sv,   "Cruz"sv,      "Calvo"sv,     "Gallego"sv,
    "Vidal"sv,     "León"sv,      "Márquez"sv,  "Herrera"sv,   "Peña"sv,      "Flores"sv,
    "Cabrera"sv,   "Campos"sv,    "Vega"sv,     "Fuentes"sv,   "Carrasco"sv,  "Caballero"sv,
    "Reyes"sv,     "Nieto"sv,     "Aguilar"sv,  "Pascual"sv,   "Santana"sv,   "Herrero"sv,
    "Lorenzo"sv,   "Montero"sv,   "Hidalgo"sv,  "Ibáñez"sv,    "Ferrer"sv,    "Durán"sv,
    "Benítez"sv,   "Mora"sv,      "Vicente"sv,  "Vargas"sv,    "Arias"sv,     "Carmona"sv,
    "Crespo"sv,    "Román"sv,     "Pastor"sv,   "Soto"sv,      "Sáez"sv,      "Velasco"sv,
    "Moya"sv,      "Soler"sv,     "Parra"sv,    "Esteban"sv,   "Bravo"sv,     "Gallardo"sv,
};

constexpr std::array kNombres = {
    "Antonio"sv,  "José"sv,   "Manuel"sv, "Francisco"sv, "Juan"sv,  "David"sv,   "Javier"sv,
    "Carlos"sv,   "Miguel"sv, "Rafael"sv, "Pedro"sv,     "Pablo"sv, "Ángel"sv,   "Sergio"sv,
    "Luis"sv,     "Jorge"sv,  "María"sv,  "Carmen"sv,    "Ana"sv,   "Isabel"sv,  "Laura"sv,
    "Cristina"sv, "Marta"sv,  "Lucía"sv,  "Elena"sv,     "Pilar"sv, "Beatriz"sv, "Nuria"sv,
};

constexpr std::array kRubros = {
    "Ferretería"sv,     "Suministros"sv,   "Distribuciones"sv, "Comercial"sv,  "Talleres"sv,
    "Construcciones"sv, "Instalaciones"sv, "Electricidad"sv,   "Fontanería"sv, "Pinturas"sv,
    "Maderas"sv,        "Papelería"sv,     "Muebles"sv,        "Reformas"sv,   "Climatización"sv,
    "Almacenes"sv,      "Transportes"sv,   "Servicios"sv,      "Hierros"sv,    "Cristalería"sv,
    "Carpintería"sv,    "Jardinería"sv,    "Informática"sv,    "Limpiezas"sv,  "Aluminios"sv,
};

constexpr std::array kComarcas = {
    "del Norte"sv, "del Sur"sv,   "del Levante"sv,  "Mediterránea"sv, "Atlántica"sv,
    "Central"sv,   "del Valle"sv, "de la Sierra"sv, "del Puerto"sv,   "de la Costa"sv,
    "Ibérica"sv,   "del Ebro"sv,  "del Duero"sv,    "Castellana"sv,   "Andaluza"sv,
    "Gallega"sv,   "Levantina"sv, "Balear"sv,       "Canaria"sv,      "Riojana"sv,
};

constexpr std::array kFormas = {"S.L."sv, "S.L."sv, "S.A."sv, "S.L.U."sv, "S.Coop."sv, "C.B."sv};

struct Lugar {
    std::string_view ciudad, provincia, prefijoPostal, prefijoTelefono;
};
constexpr std::array kLugares = {
    Lugar{"Madrid", "Madrid", "28", "91"},        Lugar{"Barcelona", "Barcelona", "08", "93"},
    Lugar{"Valencia", "Valencia", "46", "96"},    Lugar{"Sevilla", "Sevilla", "41", "95"},
    Lugar{"Zaragoza", "Zaragoza", "50", "976"},   Lugar{"Málaga", "Málaga", "29", "95"},
    Lugar{"Murcia", "Murcia", "30", "968"},       Lugar{"Palma", "Illes Balears", "07", "971"},
    Lugar{"Bilbao", "Bizkaia", "48", "94"},       Lugar{"Alicante", "Alicante", "03", "96"},
    Lugar{"Córdoba", "Córdoba", "14", "957"},     Lugar{"Valladolid", "Valladolid", "47", "983"},
    Lugar{"Vigo", "Pontevedra", "36", "986"},     Lugar{"Gijón", "Asturias", "33", "985"},
    Lugar{"Granada", "Granada", "18", "958"},     Lugar{"A Coruña", "A Coruña", "15", "981"},
    Lugar{"Vitoria", "Álava", "01", "945"},       Lugar{"Elche", "Alicante", "03", "96"},
    Lugar{"Oviedo", "Asturias", "33", "985"},     Lugar{"Badajoz", "Badajoz", "06", "924"},
    Lugar{"Salamanca", "Salamanca", "37", "923"}, Lugar{"Cádiz", "Cádiz", "11", "956"},
    Lugar{"Toledo", "Toledo", "45", "925"},       Lugar{"León", "León", "24", "987"},
    Lugar{"Burgos", "Burgos", "09", "947"},       Lugar{"Logroño", "La Rioja", "26", "941"},
    Lugar{"Pamplona", "Navarra", "31", "948"},    Lugar{"Santander", "Cantabria", "39", "942"},
    Lugar{"Albacete", "Albacete", "02", "967"},   Lugar{"Almería", "Almería", "04", "950"},
    Lugar{"Huelva", "Huelva", "21", "959"},       Lugar{"Jaén", "Jaén", "23", "953"},
    Lugar{"Lleida", "Lleida", "25", "973"},       Lugar{"Tarragona", "Tarragona", "43", "977"},
    Lugar{"Girona", "Girona", "17", "972"},       Lugar{"Cáceres", "Cáceres", "10", "927"},
    Lugar{"Segovia", "Segovia", "40", "921"},     Lugar{"Ávila", "Ávila", "05", "920"},
    Lugar{"Cuenca", "Cuenca", "16", "969"},       Lugar{"Huesca", "Huesca", "22", "974"},
    Lugar{"Lugo", "Lugo", "27", "982"},           Lugar{"Ourense", "Ourense", "32", "988"},
    Lugar{"Castellón", "Castellón", "12", "964"}, Lugar{"Ciudad Real", "Ciudad Real", "13", "926"},
};

constexpr std::array kVias = {"C/"sv, "C/"sv, "Avda."sv, "Pza."sv, "Ctra."sv, "Pol. Ind."sv};
constexpr std::array kCalles = {
    "Mayor"sv,
    "Real"sv,
    "del Carmen"sv,
    "San Juan"sv,
    "de la Constitución"sv,
    "de Andalucía"sv,
    "del Sol"sv,
    "de la Paz"sv,
    "Nueva"sv,
    "de Valencia"sv,
    "de Cervantes"sv,
    "de Colón"sv,
    "Gran Vía"sv,
    "del Mar"sv,
    "de la Estación"sv,
    "San Vicente"sv,
    "de la Libertad"sv,
    "del Pilar"sv,
    "de Goya"sv,
    "Doctor Fleming"sv,
    "de los Olivos"sv,
    "del Río"sv,
    "de Castilla"sv,
    "de la Industria"sv,
};
constexpr std::array kZonas = {"Norte"sv, "Sur"sv, "Centro"sv, "Este"sv, "Oeste"sv, "Levante"sv};

constexpr std::array kCategorias = {
    "Herramientas manuales"sv,
    "Herramientas eléctricas"sv,
    "Fontanería"sv,
    "Electricidad"sv,
    "Iluminación"sv,
    "Pinturas y barnices"sv,
    "Tornillería"sv,
    "Jardinería"sv,
    "Climatización"sv,
    "Material de oficina"sv,
    "Informática"sv,
    "Mobiliario"sv,
    "Limpieza"sv,
    "Seguridad laboral"sv,
    "Construcción"sv,
    "Cerrajería"sv,
    "Adhesivos y selladores"sv,
    "Maderas y tableros"sv,
    "Sanitarios"sv,
    "Calefacción"sv,
    "Riego"sv,
    "Cables y conductores"sv,
    "Embalaje"sv,
    "Productos químicos"sv,
    "Neumática"sv,
    "Soldadura"sv,
    "Abrasivos"sv,
    "Rodamientos"sv,
    "Transmisión"sv,
    "Repuestos"sv,
};

constexpr std::array kArticulos = {
    "Taladro"sv,  "Amoladora"sv,     "Sierra"sv,      "Martillo"sv,   "Destornillador"sv,
    "Llave"sv,    "Alicate"sv,       "Tubo"sv,        "Codo"sv,       "Válvula"sv,
    "Grifo"sv,    "Cable"sv,         "Interruptor"sv, "Enchufe"sv,    "Lámpara"sv,
    "Foco"sv,     "Panel"sv,         "Pintura"sv,     "Barniz"sv,     "Esmalte"sv,
    "Tornillo"sv, "Tuerca"sv,        "Arandela"sv,    "Clavo"sv,      "Taco"sv,
    "Bisagra"sv,  "Cerradura"sv,     "Candado"sv,     "Manguera"sv,   "Aspersor"sv,
    "Tijera"sv,   "Pala"sv,          "Rastrillo"sv,   "Carretilla"sv, "Escalera"sv,
    "Guante"sv,   "Casco"sv,         "Gafas"sv,       "Bota"sv,       "Silicona"sv,
    "Adhesivo"sv, "Cinta"sv,         "Lija"sv,        "Disco"sv,      "Broca"sv,
    "Tablero"sv,  "Listón"sv,        "Perfil"sv,      "Chapa"sv,      "Malla"sv,
    "Cubo"sv,     "Brocha"sv,        "Rodillo"sv,     "Radiador"sv,   "Termostato"sv,
    "Bomba"sv,    "Filtro"sv,        "Compresor"sv,   "Batería"sv,    "Cargador"sv,
    "Regleta"sv,  "Transformador"sv, "Soldador"sv,    "Electrodo"sv,  "Rodamiento"sv,
    "Correa"sv,   "Junta"sv,         "Abrazadera"sv,  "Canaleta"sv,   "Sifón"sv,
};
constexpr std::array kCalificativos = {
    "de acero"sv,        "de acero inoxidable"sv,
    "de latón"sv,        "de cobre"sv,
    "de PVC"sv,          "de aluminio"sv,
    "de madera"sv,       "de nailon"sv,
    "profesional"sv,     "industrial"sv,
    "universal"sv,       "doble"sv,
    "estándar"sv,        "multiuso"sv,
    "de alta presión"sv, "de baja tensión"sv,
    "para exterior"sv,   "para interior"sv,
    "serie ligera"sv,    "serie pesada"sv,
    "de precisión"sv,    "reforzado"sv,
};
constexpr std::array kMedidas = {
    "6 mm"sv,   "8 mm"sv,    "10 mm"sv,    "12 mm"sv,  "16 mm"sv, "20 mm"sv,   "25 mm"sv,
    "32 mm"sv,  "40 mm"sv,   "1/2\""sv,    "3/4\""sv,  "1\""sv,   "500 W"sv,   "750 W"sv,
    "1000 W"sv, "1200 W"sv,  "2 m"sv,      "5 m"sv,    "10 m"sv,  "25 m"sv,    "50 m"sv,
    "1 l"sv,    "4 l"sv,     "15 l"sv,     "250 ml"sv, "500 g"sv, "1 kg"sv,    "5 kg"sv,
    "25 kg"sv,  "M6"sv,      "M8"sv,       "M10"sv,    "M12"sv,   "12 V"sv,    "24 V"sv,
    "230 V"sv,  "talla 9"sv, "talla 42"sv, "nº 2"sv,   "nº 4"sv,  "2,5 mm²"sv, "1,5 mm²"sv,
};
constexpr std::array kMarcas = {
    "Norfer"sv,  "Tecvial"sv, "Ibermat"sv, "Solvex"sv,     "Duralit"sv, "Fontek"sv,
    "Lumiter"sv, "Maxpro"sv,  "Grafex"sv,  "Electrosur"sv, "Aceral"sv,
};
constexpr std::array kUnidades = {
    "unidad"sv, "unidad"sv, "unidad"sv, "metro"sv, "kg"sv,      "litro"sv, "caja"sv,
    "rollo"sv,  "par"sv,    "juego"sv,  "m²"sv,    "paquete"sv, "bolsa"sv, "hora"sv,
};

constexpr std::array kSaludos = {
    "De nuestra mayor consideración:"sv,
    "Estimados señores:"sv,
    "Estimado cliente:"sv,
    "Muy señores nuestros:"sv,
};
constexpr std::array kDescripciones1 = {
    "Por medio de la presente les hacemos llegar nuestra oferta por los productos que se "
    "detallan a continuación."sv,
    "Atendiendo a su amable solicitud, tenemos el agrado de cotizarles lo siguiente:"sv,
    "Según su pedido, les detallamos precios y condiciones de los materiales solicitados."sv,
    "Nos es grato presentarles nuestra mejor oferta para el suministro indicado."sv,
};
constexpr std::array kDescripciones2 = {
    "Forma de pago: 30 días fecha factura."sv,
    "Forma de pago: contado."sv,
    "Forma de pago: 50% a la aceptación y 50% a la entrega."sv,
    "Los precios no incluyen IVA."sv,
    "Plazo de entrega: 15 días hábiles desde la aceptación."sv,
};
constexpr std::array kDescripciones3 = {
    "Transporte incluido dentro del casco urbano."sv,
    "Garantía de un año contra todo defecto de fabricación."sv,
    "Instalación a cargo del cliente."sv,
    "Oferta sujeta a disponibilidad de existencias."sv,
};
constexpr std::array kConceptos = {
    "Mano de obra"sv,     "Mano de obra"sv, "Instalación"sv,    "Transporte"sv,
    "Puesta en marcha"sv, "Montaje"sv,      "Desplazamiento"sv, "Embalaje"sv,
};
constexpr std::array kDespedidas = {
    "Sin otro particular, les saludamos muy atentamente."sv,
    "Quedando a su disposición para cualquier consulta, les saludamos atentamente."sv,
    "Agradeciendo de antemano su atención, saludamos a ustedes cordialmente."sv,
    "Esperando que nuestra oferta sea de su interés, les saludamos atentamente."sv,
};
constexpr std::array kCargos = {
    "Departamento Comercial"sv,
    "Departamento de Ventas"sv,
    "Gerencia"sv,
    "Oficina Técnica"sv,
};

std::string unir(std::initializer_list<std::string_view> partes) {
    std::string r;
    for (const auto p : partes)
        r.append(p);
    return r;
}

const Lugar& lugar(Azar& azar) {
    return kLugares[azar.menor(quint32(kLugares.size()))];
}

std::string telefono(Azar& azar, std::string_view prefijo) {
    std::string digitos(prefijo);
    while (digitos.size() < 9)
        digitos.push_back(char('0' + azar.menor(10)));
    return digitos.substr(0, 3) + ' ' + digitos.substr(3, 3) + ' ' + digitos.substr(6);
}

} // namespace

quint32 Azar::menor(quint32 n) {
    constexpr quint64 kRango = quint64(1) << 32;
    const quint64 limite = kRango - kRango % n;
    quint64 r = 0;
    do {
        r = motor_();
    } while (r >= limite);
    return quint32(r % n);
}

void recortar(std::string& texto, size_t caracteres) {
    size_t contados = 0;
    for (size_t i = 0; i < texto.size(); ++i) {
        if ((static_cast<unsigned char>(texto[i]) & 0xC0) == 0x80)
            continue;
        if (contados == caracteres) {
            texto.resize(i);
            break;
        }
        ++contados;
    }
    while (!texto.empty() && texto.back() == ' ')
        texto.pop_back();
}

std::string sinAcentos(std::string_view texto) {
    // The two-byte UTF-8 forms of the accented letters of Spanish.
    static constexpr std::array<std::pair<std::string_view, char>, 14> kLetras = {{
        {"á", 'a'},
        {"é", 'e'},
        {"í", 'i'},
        {"ó", 'o'},
        {"ú", 'u'},
        {"ü", 'u'},
        {"ñ", 'n'},
        {"Á", 'a'},
        {"É", 'e'},
        {"Í", 'i'},
        {"Ó", 'o'},
        {"Ú", 'u'},
        {"Ü", 'u'},
        {"Ñ", 'n'},
    }};
    std::string r;
    for (size_t i = 0; i < texto.size(); ++i) {
        const char c = texto[i];
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            r.push_back(c);
        } else if (c >= 'A' && c <= 'Z') {
            r.push_back(char(c - 'A' + 'a'));
        } else if (i + 1 < texto.size()) {
            for (const auto& [forma, letra] : kLetras) {
                if (texto.substr(i, 2) == forma) {
                    r.push_back(letra);
                    ++i;
                    break;
                }
            }
        }
    }
    return r;
}

std::string conCeros(quint64 valor, int ancho) {
    std::string r = std::to_string(valor);
    if (int(r.size()) < ancho)
        r.insert(0, size_t(ancho) - r.size(), '0');
    return r;
}

std::string importe(qint64 centavos) {
    std::string r = std::to_string(centavos / 100);
    const int resto = int(centavos % 100);
    if (resto != 0) {
        r += '.';
        r += char('0' + resto / 10);
        if (resto % 10 != 0)
            r += char('0' + resto % 10);
    }
    return r;
}

Contacto contacto(Azar& azar) {
    Contacto c;
    const std::string_view ap1 = apellido(azar);
    const std::string_view ap2 = apellido(azar);
    switch (azar.menor(4)) {
    case 0:
        c.nombreFantasia = unir({azar.elegir(kRubros), " ", ap1});
        break;
    case 1:
        c.nombreFantasia = unir({azar.elegir(kRubros), " ", azar.elegir(kComarcas)});
        break;
    case 2:
        c.nombreFantasia = unir({ap1, " Hnos."});
        break;
    default:
        c.nombreFantasia = unir({ap1, " y ", ap2});
    }
    switch (azar.menor(3)) {
    case 0:
        c.razonSocial = unir({ap1, " ", ap2, " ", azar.elegir(kFormas)});
        break;
    case 1:
        c.razonSocial = unir({"Hermanos ", ap1, " ", azar.elegir(kFormas)});
        break;
    default:
        c.razonSocial = unir({ap1, " e Hijos ", azar.elegir(kFormas)});
    }
    recortar(c.nombreFantasia, 30);
    recortar(c.razonSocial, 30);
    c.ruc = unir({azar.siPorMil(800) ? "B" : "A", conCeros(azar.menor(100000000), 8)});
    c.direccion = unir(
        {azar.elegir(kVias), " ", azar.elegir(kCalles), " ", std::to_string(azar.entre(1, 250))});
    recortar(c.direccion, 50);
    const Lugar& l = lugar(azar);
    c.codigoPostal = unir({l.prefijoPostal, conCeros(azar.menor(1000), 3)});
    c.telefono1 = telefono(azar, l.prefijoTelefono);
    if (azar.siPorMil(400))
        c.telefono2 = telefono(azar, "6");
    if (azar.siPorMil(250))
        c.fax = telefono(azar, l.prefijoTelefono);
    const std::string dominio = sinAcentos(c.nombreFantasia) + ".es";
    if (azar.siPorMil(700))
        c.email = (azar.siPorMil(500) ? "info@" : "ventas@") + dominio;
    if (azar.siPorMil(400))
        c.url = "www." + dominio;
    recortar(c.email, 50);
    recortar(c.url, 50);
    c.zona = azar.elegir(kZonas);
    c.ciudad = l.ciudad;
    c.provincia = l.provincia;
    c.pais = "España";
    return c;
}

std::string categoria(int indice) {
    const size_t n = kCategorias.size();
    std::string r(kCategorias[size_t(indice) % n]);
    if (size_t(indice) >= n)
        r += " serie " + std::to_string(size_t(indice) / n + 1);
    return r;
}

std::string descripcionProducto(Azar& azar) {
    std::string r = unir(
        {azar.elegir(kArticulos), " ", azar.elegir(kCalificativos), " ", azar.elegir(kMedidas)});
    if (azar.siPorMil(500))
        r = unir({r, " ", azar.elegir(kMarcas)});
    return r;
}

std::string_view unidad(Azar& azar) {
    return azar.elegir(kUnidades);
}

std::string_view ciudad(Azar& azar) {
    return lugar(azar).ciudad;
}

std::string_view apellido(Azar& azar) {
    return azar.elegir(kApellidos);
}

std::string_view nombrePila(Azar& azar) {
    return azar.elegir(kNombres);
}

std::string saludo(Azar& azar) {
    switch (azar.menor(3)) {
    case 0:
        return unir({"Estimado Sr. ", apellido(azar), ":"});
    case 1:
        return unir({"Estimada Sra. ", apellido(azar), ":"});
    default:
        return std::string(azar.elegir(kSaludos));
    }
}

std::string descripcion1(Azar& azar) {
    if (azar.siPorMil(250))
        return unir({"De acuerdo con lo conversado, les presentamos el presupuesto para la obra "
                     "de ",
                     azar.elegir(kVias), " ", azar.elegir(kCalles), "."});
    return std::string(azar.elegir(kDescripciones1));
}

std::string_view descripcion2(Azar& azar) {
    return azar.siPorMil(500) ? azar.elegir(kDescripciones2) : std::string_view();
}

std::string_view descripcion3(Azar& azar) {
    return azar.siPorMil(250) ? azar.elegir(kDescripciones3) : std::string_view();
}

std::string_view conceptoOtro(Azar& azar) {
    return azar.elegir(kConceptos);
}

std::string_view despedida(Azar& azar) {
    return azar.elegir(kDespedidas);
}

std::string firma(Azar& azar) {
    return unir({nombrePila(azar), " ", apellido(azar), "\n", azar.elegir(kCargos)});
}

} // namespace muestra
