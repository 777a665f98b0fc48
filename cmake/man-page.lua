-- A pandoc filter that turns a manual page written in Markdown
-- (docs/man/<name>.<section>.md) into a man page, whichever way the page
-- names itself:
--
--   % NAME(1) footer | header        a title block, then "# NAME", "# SYNOPSIS", ...
--   # name(1)                        a first heading, then "## NAME", "## SYNOPSIS", ...
--   # name(1) -- what it does        the same without a NAME section: one is made
--
-- The page's name and section come from its file name; a page without a
-- title block gets the footer passed as the metadata "corvid-footer" and
-- the header "User Commands". HTML line breaks (<br>) become line breaks.
-- Pages are read without smart punctuation (markdown-smart), so that
-- "--help" stays two hyphens.

local stringify = pandoc.utils.stringify

local function page_name()
  local file = PANDOC_STATE.input_files[1] or ''
  local name, section = file:match('([^/]+)%.(%d%w*)%.md$')
  if not name then
    error('a manual page is named <name>.<section>.md: ' .. file)
  end
  return name, section
end

function RawInline(raw)
  if raw.format == 'html' and raw.text:match('^<br%s*/?>$') then
    return pandoc.LineBreak()
  end
end

local function has_section(blocks, title)
  for _, block in ipairs(blocks) do
    if block.t == 'Header' and block.level == 1 and stringify(block):upper() == title then
      return true
    end
  end
  return false
end

function Pandoc(doc)
  local name, section = page_name()
  local blocks = doc.blocks
  local first = blocks[1]
  if first and first.t == 'Header' and first.level == 1 then
    local what = stringify(first):match('^%S+%(%w+%)%s*(.*)$')
    if what then
      table.remove(blocks, 1)
      for _, block in ipairs(blocks) do
        if block.t == 'Header' then
          block.level = math.max(1, block.level - 1)
        end
      end
      -- A dash too, should smart punctuation have made one of "--".
      for _, dash in ipairs({'--', '-', '\u{2013}', '\u{2014}'}) do
        if what:sub(1, #dash) == dash then
          what = what:sub(#dash + 1):gsub('^%s+', '')
          break
        end
      end
      if what ~= '' and not has_section(blocks, 'NAME') then
        table.insert(blocks, 1, pandoc.Header(1, 'NAME'))
        table.insert(blocks, 2, pandoc.Para(pandoc.Inlines(name .. ' - ' .. what)))
      end
    end
  end
  if not doc.meta.title then
    doc.meta.title = name:upper()
    doc.meta.section = section
    doc.meta.footer = doc.meta['corvid-footer'] or ''
    doc.meta.header = 'User Commands'
  end
  return pandoc.Pandoc(blocks, doc.meta)
end
