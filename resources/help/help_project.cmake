# Makes the help project of kx.chm in the folder OUT from the table of pages PAGES: each page a
# whole HTML file of its body beside the table (the head, the title as heading and the link to
# the first page are the same for every page and added here), the style sheet, the screenshots
# the pages show (bilder/NAME from the folder IMAGES), the contents kx.hhc (in the table's order),
# the index kx.hhk (each page's title and keyword) and the project kx.hhp.
# Run as cmake -DPAGES=... -DIMAGES=... -DOUT=... -P this file.
get_filename_component(source ${PAGES} DIRECTORY)
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT}/bilder)
file(COPY ${source}/hilfe.css DESTINATION ${OUT})

set(sitemap_head "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<HTML>\n<HEAD></HEAD>\n<BODY>\n")
# entry(VARIABLE NAME PAGE): one sitemap entry appended to VARIABLE.
macro(entry variable name page)
    string(APPEND ${variable} "<LI><OBJECT type=\"text/sitemap\">\n"
        "    <param name=\"Name\" value=\"${name}\">\n"
        "    <param name=\"Local\" value=\"${page}\">\n"
        "    </OBJECT>\n")
endmacro()

file(STRINGS ${PAGES} lines REGEX "^HELP_PAGE")
set(contents "")
set(index "")
set(files "hilfe.css\n")
set(first "")
set(first_title "")
foreach(line IN LISTS lines)
    if(NOT line MATCHES "^HELP_PAGE\\(\"([a-z0-9_]+\\.htm)\", \"([A-Za-z0-9_]*)\", \"([ -~]+)\"\\)$")
        message(FATAL_ERROR "pages.def: not a page: ${line}")
    endif()
    set(page ${CMAKE_MATCH_1})
    set(keyword ${CMAKE_MATCH_2})
    set(title ${CMAKE_MATCH_3})
    if(NOT EXISTS ${source}/${page})
        message(FATAL_ERROR "pages.def names ${page}, which is not in ${source}")
    endif()
    file(READ ${source}/${page} html)
    set(back "")
    if(NOT first)
        set(first ${page})
        set(first_title ${title})
    else()
        set(back "<p class=\"weiter\"><a href=\"${first}\">${first_title}</a></p>\n")
    endif()
    file(WRITE ${OUT}/${page} "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">
<html lang=\"de\">
<head>
<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1252\">
<title>${title}</title>
<link rel=\"stylesheet\" type=\"text/css\" href=\"hilfe.css\">
</head>
<body>
<h1>${title}</h1>
${html}${back}</body>
</html>
")
    string(APPEND files "${page}\n")
    entry(contents "${title}" ${page})
    entry(index "${title}" ${page})
    if(keyword)
        entry(index "${keyword}" ${page})
    endif()
    string(REGEX MATCHALL "src=\"bilder/[^\"]+\"" images "${html}")
    foreach(image IN LISTS images)
        string(REGEX REPLACE "^src=\"bilder/(.*)\"$" "\\1" image "${image}")
        if(NOT EXISTS ${IMAGES}/${image})
            message(FATAL_ERROR "${page} shows bilder/${image}, which is not in ${IMAGES}")
        endif()
        if(NOT EXISTS ${OUT}/bilder/${image})
            file(COPY ${IMAGES}/${image} DESTINATION ${OUT}/bilder)
            string(APPEND files "bilder/${image}\n")
        endif()
    endforeach()
endforeach()

file(WRITE ${OUT}/kx.hhc "${sitemap_head}<UL>\n${contents}</UL>\n</BODY>\n</HTML>\n")
file(WRITE ${OUT}/kx.hhk "${sitemap_head}<UL>\n${index}</UL>\n</BODY>\n</HTML>\n")
file(WRITE ${OUT}/kx.hhp "[OPTIONS]
Compatibility=1.1 or later
Compiled file=kx.chm
Contents file=kx.hhc
Index file=kx.hhk
Default topic=${first}
Default Window=main
Display compile progress=No
Full-text search=Yes
Binary Index=Yes
Language=0x407 Deutsch (Deutschland)
Title=Korvex Hilfe

[WINDOWS]
main=\"Korvex Hilfe\",\"kx.hhc\",\"kx.hhk\",\"${first}\",\"${first}\",,,,,0x2520,,0x3006,,,,,,,,0

[FILES]
${files}")
